#include "cli/progressbar.h"

#include <gtest/gtest.h>

#include <sstream>

namespace bx::cli {
namespace {

using namespace std::chrono_literals;

TEST(progressbar_test, redraws_at_most_once_per_interval_but_always_at_the_end) {
    std::ostringstream out;
    ProgressBar bar(out, 10, 250ms);
    const ProgressBar::Clock::time_point t0{};
    EXPECT_TRUE(bar.update(1, t0));
    EXPECT_FALSE(bar.update(2, t0 + 249ms));
    EXPECT_TRUE(bar.update(3, t0 + 250ms));
    EXPECT_FALSE(bar.update(4, t0 + 260ms));
    EXPECT_TRUE(bar.update(10, t0 + 261ms));
    EXPECT_NE(std::string::npos, out.str().find("10 / 10 generations"));
}

TEST(progressbar_test, finishing_blanks_the_line_it_drew) {
    std::ostringstream out;
    ProgressBar bar(out, 4);
    bar.finish();
    EXPECT_EQ("", out.str());
    bar.update(4, {});
    bar.finish();
    const std::string text = out.str();
    EXPECT_EQ('\r', text.back());
    EXPECT_EQ(std::string::npos, text.find('\n'));
}

} // namespace
} // namespace bx::cli

#include "record/history.h"

#include <gtest/gtest.h>

#include <vector>

namespace bx {
namespace {

GenerationStats row(int64_t generation) {
    GenerationStats s;
    s.generation = generation;
    s.organisms = static_cast<int32_t>(generation * 2);
    return s;
}

std::vector<int64_t> generations(const StatsHistory& h) {
    std::vector<int64_t> out;
    for (const GenerationStats& s : h.rows())
        out.push_back(s.generation);
    return out;
}

TEST(history_test, beyond_the_limit_the_rows_thin_out_evenly_and_the_newest_stays_at_hand) {
    StatsHistory h(4);
    for (int64_t g = 1; g <= 5; ++g)
        h.add(row(g));
    EXPECT_EQ((std::vector<int64_t>{2, 4, 5}), generations(h)); // every second kept, 5 the newest
    for (int64_t g = 6; g <= 9; ++g)
        h.add(row(g));
    EXPECT_EQ((std::vector<int64_t>{2, 4, 6, 8, 9}), generations(h));
    h.add(row(10));
    EXPECT_EQ((std::vector<int64_t>{4, 8, 10}), generations(h));
    EXPECT_EQ(4, h.stride());
    StatsHistory run; // a million generations stay within the default limit
    for (int64_t g = 1; g <= 1000000; ++g)
        run.add(row(g));
    EXPECT_LE(run.rows().size(), 10001u);
    EXPECT_EQ(1000000, run.rows().back().generation);
}

TEST(history_test, the_csv_is_what_the_runner_writes_and_clearing_starts_afresh) {
    StatsHistory h;
    h.add(row(1));
    h.add(row(2));
    EXPECT_EQ(statsCsvHeader() + '\n' + statsCsvRow(row(1)) + '\n' + statsCsvRow(row(2)) + '\n', h.csv());
    EXPECT_TRUE(h.takeChanged());
    EXPECT_FALSE(h.takeChanged());
    h.clear();
    EXPECT_TRUE(h.rows().empty());
    EXPECT_TRUE(h.takeChanged());
}

} // namespace
} // namespace bx

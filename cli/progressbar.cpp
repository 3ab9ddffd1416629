#include "progressbar.h"

#include <algorithm>
#include <string>

#include "text/numbers.h"

namespace bx::cli {
namespace {
constexpr int barWidth = 40;
}

ProgressBar::ProgressBar(std::ostream& out, int64_t total, Clock::duration interval)
    : out_(out), total_(total), interval_(interval) {}

bool ProgressBar::update(int64_t done, Clock::time_point now) {
    const bool last = done >= total_;
    if (!last && lastDrawn_ && now - *lastDrawn_ < interval_)
        return false;
    lastDrawn_ = now;
    draw(done);
    return true;
}

void ProgressBar::draw(int64_t done) {
    const double fraction = total_ > 0 ? static_cast<double>(done) / static_cast<double>(total_) : 1.0;
    const int filled = std::min(barWidth, static_cast<int>(fraction * barWidth));
    out_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(barWidth - filled), ' ') << "] " << formatInteger(done)
         << " / " << formatInteger(total_) << " generations" << std::flush;
    drawn_ = true;
}

void ProgressBar::finish() {
    if (drawn_)
        out_ << "\r" << std::string(barWidth + 60, ' ') << "\r" << std::flush;
    drawn_ = false;
}

} // namespace bx::cli

#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <ostream>

namespace bx::cli {

// A one-line progress bar for a terminal, redrawn in place with a carriage return.
// Times are passed in, so the caller decides the clock.
class ProgressBar {
public:
    using Clock = std::chrono::steady_clock;

    ProgressBar(std::ostream& out, int64_t total, Clock::duration interval = std::chrono::milliseconds(250));

    // Redraws when `interval` has passed since the last drawing, and always for the last step;
    // returns whether it drew.
    bool update(int64_t done, Clock::time_point now);
    // Clears the line so that later output starts on a clean line.
    void finish();

private:
    void draw(int64_t done);

    std::ostream& out_;
    int64_t total_;
    Clock::duration interval_;
    std::optional<Clock::time_point> lastDrawn_;
    bool drawn_ = false;
};

} // namespace bx::cli

#pragma once
#include <cstdint>

namespace bx {

// A pace of one tick a millisecond, whatever the timer's: a timer that wakes every few
// milliseconds runs the ticks due since its last wake. due(now) is how many a wake at `now` (ns
// on a steady clock) runs: those due, at least one, and at most eight, so that a program that
// was stopped for a while (a frozen screensaver, a machine that stalled) goes on at its pace
// without a burst of catch-up ticks.
class TickPace {
public:
    static constexpr int64_t tickLength = 1000000; // ns
    static constexpr int mostPerWake = 8;
    int due(int64_t now);

private:
    bool started_ = false;
    int64_t last_ = 0;
    int64_t pending_ = 0; // ns not yet ticked
};

// At most 60 frames a second: what was painted reaches the screen once a frame, however many
// ticks painted it.
class FramePace {
public:
    static constexpr int64_t frameLength = 1000000000 / 60; // ns
    // Whether a frame may be shown at `now` (ns on a steady clock); if so, it counts as shown.
    bool take(int64_t now);
    // ns from `now` until the next frame may be shown (0 when it may be shown now).
    int64_t wait(int64_t now) const;

private:
    bool started_ = false;
    int64_t last_ = 0;
};

} // namespace bx

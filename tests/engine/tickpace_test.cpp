#include <gtest/gtest.h>

#include "engine/tickpace.h"

namespace {

constexpr int64_t ms = 1000000;

// Over ten seconds of wakes every 4 ms that come up to 1.5 ms late or early, the ticks run are
// the milliseconds gone by: the pace is kept whatever the timer's jitter.
TEST(tickpace_test, jittery_wakes_keep_a_tick_a_millisecond) {
    bx::TickPace pace;
    int64_t ticks = pace.due(0);
    const int64_t jitter[] = {0, 3 * ms / 2, -3 * ms / 2, ms / 2, -ms, ms + 7};
    int64_t now = 0;
    for (int wake = 1; wake <= 2500; ++wake) {
        now = wake * 4 * ms + jitter[wake % 6];
        ticks += pace.due(now);
    }
    EXPECT_NEAR(double(now / ms), double(ticks), 1.0);
}

// Frames: the first at once, then none before a sixtieth of a second has gone by since the last.
TEST(tickpace_test, frames_come_at_most_sixty_a_second) {
    const int64_t frame = bx::FramePace::frameLength;
    struct Case {
        int64_t at;
        bool shown;
        int64_t waitAfter; // until the next frame, asked right after
    };
    const Case cases[] = {
        {5 * ms, true, frame},
        {5 * ms + 1, false, frame - 1},
        {5 * ms + 16 * ms, false, frame - 16 * ms},
        {5 * ms + frame, true, frame},
        {9000 * ms, true, frame},
    };
    bx::FramePace frames;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.at);
        EXPECT_EQ(c.shown, frames.take(c.at));
        EXPECT_EQ(c.waitAfter, frames.wait(c.at));
    }
}

} // namespace

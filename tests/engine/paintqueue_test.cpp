#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/painting.h"
#include "engine/paintqueue.h"
#include "engine/random.h"
#include "support/recordinghost.h"

namespace {

// Squares of 5 pixels (their boxes overlap their neighbours' by a pixel) queued in a random order,
// alone, in runs down a column and as whole columns, each then given new colours ("updated")
// and another square overwritten: painted out from the queue at times, they
// leave the pixels that painting each square right after its update leaves, also after the
// queue has dropped the places of repeated squares.
TEST(paintqueue_test, queued_squares_leave_the_pixels_that_painting_each_after_its_update_leaves) {
    for (const bool organisms : {true, false}) {
        bx::test::RecordingCanvas atOnce, queued;
        bx::test::PixelGrid atOncePixels{40, 40}, queuedPixels{40, 40};
        bx::Grid org(8, 8), env(8, 8);
        bx::PaintQueue queue;
        const bx::PaintQueue::Look look{5, organisms, true};
        queue.restart(9, 9, look);
        bx::RandomGenerator rng(3);
        const auto colour = [&rng] { return bx::Rgb{double(int(rng.next() * 255)), 7, 200}; };
        for (int i = 0; i < 3000; ++i) {
            const int c = int(rng.next() * 9), r = i % 5 == 0 ? 0 : int(rng.next() * 9);
            const int count = i % 5 == 0 ? 9 : i % 3 == 0 ? std::min(3, 9 - r) : 1;
            ASSERT_TRUE(queue.fits(c, r + count - 1, look));
            const uint64_t first = queue.addColumn(c, r, count);
            for (int k = 0; k < count; ++k) {
                org.set(c, r + k, colour());
                bx::paintSquareModel(atOnce, c, r + k, look.size, org.at(c, r + k), env.at(c, r + k),
                                     look.organisms, look.environments);
                // Any square overwritten by the update numbered next, also one of this run still to
                // be updated (its own update then paints the overwrite) or the one just updated.
                const int tc = int(rng.next() * 9), tr = int(rng.next() * 9);
                queue.overwriting(tc, tr, first + uint64_t(k) + 1, org, env);
                (i % 2 ? org : env).set(tc, tr, colour());
            }
            if (i % 700 == 699 || i == 2999) {
                queue.takeAll(org, env, [&](int column, int row, const bx::SquareColours* squares, int n) {
                    queued.paintColumn(column, row, squares, n, look.size, look.organisms, look.environments);
                });
                atOncePixels.paint(atOnce.boxes);
                queuedPixels.paint(queued.boxes);
                ASSERT_EQ(atOncePixels.pixels, queuedPixels.pixels) << i;
            }
        }
        EXPECT_TRUE(queue.empty());
        EXPECT_FALSE(queue.fits(9, 1, look));
        EXPECT_FALSE(queue.fits(1, 1, {5, !organisms, true}));
    }
}

} // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/painting.h"
#include "engine/paintqueue.h"
#include "engine/random.h"

namespace {

// Pixels in a plain array, painted as every canvas paints them.
struct PixelGrid : bx::Canvas {
    static constexpr int size = 40;
    std::vector<bx::PackedColour> pixels = std::vector<bx::PackedColour>(size * size, 0);
    void clear() override { pixels.assign(pixels.size(), 0); }
    void fillBox(double x1, double y1, double x2, double y2, bx::PackedColour colour) override {
        const bx::PixelSpan xs = bx::pixelSpan(x1, x2), ys = bx::pixelSpan(y1, y2);
        for (int y = std::max(ys.first, 0); y <= std::min(ys.last, size - 1); ++y)
            for (int x = std::max(xs.first, 0); x <= std::min(xs.last, size - 1); ++x)
                pixels[std::size_t(y * size + x)] = colour;
    }
};

// Squares of 5 pixels (their boxes overlap their neighbours' by a pixel) painted in a random
// order, alone, in runs down a column and as whole columns, many times over: painted out from the queue now
// and then, they leave the same pixels as painting each at once, also after the queue has dropped the places
// of repeated squares.
TEST(paintqueue_test, queued_squares_leave_the_pixels_that_painting_at_once_leaves) {
    for (const bool organisms : {true, false}) {
        PixelGrid atOnce, queued;
        bx::PaintQueue queue;
        const bx::PaintQueue::Look look{5, organisms, true};
        queue.restart(9, 9, look);
        bx::RandomGenerator rng(3);
        for (int i = 0; i < 3000; ++i) {
            const int c = 1 + int(rng.next() * 8), row = 1 + int(rng.next() * 8);
            const bx::PackedColour org = bx::PackedColour(i), env = bx::PackedColour(i + 100000);
            // Every third time a run of squares down the column, every fifth the whole column, queued at
            // once.
            const int r = i % 5 == 0 ? 0 : row;
            const int count = i % 5 == 0 ? 9 : i % 3 == 0 ? std::min(3, 9 - r) : 1;
            std::vector<bx::SquareColours> column;
            for (int k = 0; k < count; ++k) {
                column.push_back({org + bx::PackedColour(k), env});
                bx::paintSquareModel(atOnce, c, r + k, look.size, org + bx::PackedColour(k), env,
                                     look.organisms, look.environments);
            }
            ASSERT_TRUE(queue.fits(c, r + count - 1, look));
            if (count == 1)
                queue.add(c, r, org, env);
            else
                queue.addColumn(c, r, column.data(), count);
            if (i % 700 == 699 || i == 2999) {
                queue.takeAll([&](const bx::PaintQueue::Square& s) {
                    bx::paintSquareModel(queued, s.column, s.row, look.size, s.organism, s.environment,
                                         look.organisms, look.environments);
                });
                ASSERT_EQ(atOnce.pixels, queued.pixels) << i;
            }
        }
        EXPECT_TRUE(queue.empty());
        EXPECT_FALSE(queue.fits(9, 1, look));
        EXPECT_FALSE(queue.fits(1, 1, {5, !organisms, true}));
    }
}

} // namespace

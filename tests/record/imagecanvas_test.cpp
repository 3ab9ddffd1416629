#include "record/imagecanvas.h"

#include <gtest/gtest.h>

#include <vector>

namespace bx {
namespace {

constexpr PackedColour white = 0xFFFFFF;

// The pixels of a w x h picture set by filling [left..right] x [top..bottom] (picture pixels).
std::vector<uint8_t> expectedFill(int w, int h, int left, int top, int right, int bottom) {
    std::vector<uint8_t> p(static_cast<std::size_t>(w * h * 3), 0);
    for (int y = std::max(top, 0); y <= std::min(bottom, h - 1); ++y)
        for (int x = std::max(left, 0); x <= std::min(right, w - 1); ++x)
            for (int k = 0; k < 3; ++k)
                p[static_cast<std::size_t>((y * w + x) * 3 + k)] = 255;
    return p;
}

TEST(imagecanvas_test, boxes_cover_both_corners_and_are_clipped_at_the_edges) {
    struct Row {
        const char* what;
        double x1, y1, x2, y2;
        int left, top, right, bottom; // expected picture pixels, before clipping
    };
    const Row rows[] = {
        {"inside", 1, 1, 3, 2, 1, 1, 3, 2},
        {"corners given in either order", 3, 2, 1, 1, 1, 1, 3, 2},
        {"over the left and top edges", -5, -3, 1, 0, -5, -3, 1, 0},
        {"over the right and bottom edges", 4, 3, 40, 30, 4, 3, 40, 30},
        {"covering the whole picture", -100, -100, 100, 100, -100, -100, 100, 100},
        {"fractions round half to even", 0.5, 1.5, 2.5, 3.5, 0, 2, 2, 4},
        {"left of the picture", -9, 0, -1, 4, 1, 1, 0, 0},
        {"below the picture", 0, 5, 5, 9, 1, 1, 0, 0},
    };
    for (const Row& row : rows) {
        ImageCanvas canvas(6, 5);
        canvas.fillBox(row.x1, row.y1, row.x2, row.y2, white);
        EXPECT_EQ(expectedFill(6, 5, row.left, row.top, row.right, row.bottom), canvas.pixels()) << row.what;
    }
}

TEST(imagecanvas_test, the_origin_shifts_canvas_pixels_into_the_picture) {
    ImageCanvas canvas(4, 2, 10, 20);
    canvas.fillBox(9, 21, 11, 30, white);
    EXPECT_EQ(expectedFill(4, 2, 0, 1, 1, 1), canvas.pixels());
}

TEST(imagecanvas_test, packed_colours_put_red_in_the_low_byte) {
    ImageCanvas canvas(1, 1);
    canvas.fillBox(0, 0, 0, 0, packColour(1, 2, 3));
    EXPECT_EQ((std::array<uint8_t, 3>{1, 2, 3}), canvas.pixel(0, 0));
    canvas.clear();
    EXPECT_EQ((std::array<uint8_t, 3>{0, 0, 0}), canvas.pixel(0, 0));
}

} // namespace
} // namespace bx

#include "platform/pixelcanvas.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "engine/painting.h"

namespace {

constexpr bx::PackedColour red = 0x0000FF, green = 0x00FF00;

// One row of the canvas as a string: '.' black, 'r' red, 'g' green.
std::string row(const bx::PixelCanvas& c, int y) {
    std::string out;
    for (int x = 0; x < c.width(); ++x) {
        const bx::PackedColour p = c.pixelColour(x, y);
        out += p == 0 ? '.' : p == red ? 'r' : p == green ? 'g' : '?';
    }
    return out;
}

// Rows are filled with overlapping copies for short widths: every width must cover exactly its
// pixels, neither fewer nor one more on either side.
TEST(pixelcanvas_test, a_box_fills_exactly_its_pixels_at_every_width_from_1_to_17) {
    for (int width = 1; width <= 17; ++width) {
        bx::PixelCanvas c;
        c.resize(21, 3);
        c.fillBox(2, 1, 2 + width - 1, 1, red);
        EXPECT_EQ(std::string(2, '.') + std::string(width, 'r') + std::string(19 - width, '.'), row(c, 1))
            << "width " << width;
        EXPECT_EQ(std::string(21, '.'), row(c, 0));
        EXPECT_EQ(std::string(21, '.'), row(c, 2));
    }
}

TEST(pixelcanvas_test, the_dirty_part_is_the_union_of_what_was_painted_since_it_was_taken) {
    bx::PixelCanvas c;
    c.resize(10, 10);
    EXPECT_TRUE(c.takeDirty().isEmpty());
    c.fillBox(2, 3, 4, 3, red);
    c.fillBox(-5, 7, 1, 20, green); // clipped to the canvas
    EXPECT_EQ(QRect(QPoint(0, 3), QPoint(4, 9)), c.takeDirty());
    EXPECT_TRUE(c.takeDirty().isEmpty());
    c.fillBox(11, 11, 12, 12, red); // wholly outside: nothing painted, nothing dirty
    EXPECT_TRUE(c.takeDirty().isEmpty());
    c.fillBox(1, 1, 1, 1, red);
    c.clear();
    EXPECT_TRUE(c.takeDirty().isEmpty());
    EXPECT_EQ(0u, c.pixelColour(1, 1));
}

TEST(pixelcanvas_test, a_resize_keeps_what_still_fits_and_starts_new_parts_black) {
    bx::PixelCanvas c;
    c.resize(4, 2);
    c.fillBox(0, 0, 3, 1, red);
    c.resize(6, 3);
    EXPECT_EQ("rrrr..", row(c, 0));
    EXPECT_EQ("......", row(c, 2));
    c.resize(2, 1);
    EXPECT_EQ("rr", row(c, 0));
    c.resize(0, -3);
    EXPECT_EQ(1, c.width());
    EXPECT_EQ(1, c.height());
    EXPECT_EQ(0u, c.pixelColour(5, 0)); // outside reads black
}

// A square painted whole (each pixel once where it can) leaves the pixels and the dirty part that
// its two boxes leave: every size from 1 to 17, every layer shown or not, at the canvas's corner,
// inside it and cut off by its edges.
TEST(pixelcanvas_test, a_square_leaves_the_pixels_of_its_boxes) {
    for (int size = 1; size <= 17; ++size)
        for (const auto& [organisms, environments] : {std::pair{true, true}, {true, false}, {false, true}})
            for (const auto& [column, row] : {std::pair{1, 1}, {2, 3}, {4, 1}, {0, 2}, {3, 5}}) {
                bx::PixelCanvas square, boxes;
                for (bx::PixelCanvas* c : {&square, &boxes})
                    c->resize(3 * size + 2, 4 * size + 1);
                square.fillSquare(column, row, size, red, green, organisms, environments);
                bx::paintSquareModel(boxes, column, row, size, red, green, organisms, environments);
                ASSERT_EQ(boxes.view(), square.view()) << size << " " << column << "," << row;
                ASSERT_EQ(boxes.takeDirty(), square.takeDirty()) << size << " " << column << "," << row;
            }
}

// A column of squares painted at once leaves what its squares painted one by one leave over a
// painted canvas, the overlaps included: runs from above the canvas to past its bottom, every
// size from 1 to 17, every layer shown or not.
TEST(pixelcanvas_test, a_column_leaves_the_pixels_of_its_squares_painted_in_turn) {
    bx::SquareColours squares[7];
    for (int i = 0; i < 7; ++i)
        squares[i] = {0x010101u * bx::PackedColour(20 * i + 10), 0x000001u * bx::PackedColour(20 * i + 15)};
    for (int size = 1; size <= 17; ++size)
        for (const auto& [organisms, environments] : {std::pair{true, true}, {true, false}, {false, true}})
            for (const auto& [column, firstRow, count] :
                 {std::tuple{1, 1, 4}, {2, 2, 3}, {3, 0, 7}, {0, -1, 5}, {2, 4, 3}}) {
                bx::PixelCanvas together, inTurn;
                for (bx::PixelCanvas* c : {&together, &inTurn}) {
                    c->resize(3 * size + 2, 5 * size + 1);
                    for (int x = 0; x <= 4; ++x)
                        for (int y = 0; y <= 6; ++y)
                            c->fillSquare(x, y, size, red, green, true, true);
                    c->takeDirty();
                }
                together.fillColumn(column, firstRow, squares, count, size, organisms, environments);
                for (int i = 0; i < count; ++i)
                    inTurn.fillSquare(column, firstRow + i, size, squares[i].organism, squares[i].environment,
                                      organisms, environments);
                ASSERT_EQ(inTurn.view(), together.view()) << size << " " << column << "," << firstRow;
                ASSERT_EQ(inTurn.takeDirty(), together.takeDirty())
                    << size << " " << column << "," << firstRow;
            }
}

} // namespace

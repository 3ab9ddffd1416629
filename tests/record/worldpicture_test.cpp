#include "record/worldpicture.h"

#include <gtest/gtest.h>

#include <vector>

#include "record/imagecanvas.h"

namespace bx {
namespace {

// A world whose every square has its own organism and environment colour; some squares empty.
WorldState patternedWorld(int sizeX, int sizeY) {
    WorldState world;
    world.orgGrid = Grid(sizeX, sizeY);
    world.envGrid = Grid(sizeX, sizeY);
    for (int c = 0; c <= sizeX; ++c)
        for (int r = 0; r <= sizeY; ++r) {
            if ((c + r) % 3 != 0)
                world.orgGrid.set(c, r, {10.0 * c, 20.0 * r, 100});
            world.envGrid.set(c, r, {200, 7.0 * c + 0.5, 9.0 * r});
        }
    return world;
}

TEST(worldpicture_test, painting_a_row_of_squares_at_a_time_gives_the_whole_picture) {
    const int sizeX = 5, sizeY = 4;
    const WorldState world = patternedWorld(sizeX, sizeY);
    for (int k : {1, 2, 3, 5, 8}) {
        ImageCanvas whole(sizeX * k, sizeY * k);
        paintWorldRows(whole, world, sizeX, 1, sizeY, k);
        std::vector<uint8_t> banded;
        renderWorld(world, sizeX, sizeY, k, [&banded](std::span<const uint8_t> row) {
            banded.insert(banded.end(), row.begin(), row.end());
        });
        EXPECT_EQ(whole.pixels(), banded) << "square size " << k;
    }
}

TEST(worldpicture_test, squares_show_the_organism_with_the_environment_in_the_corner) {
    WorldState world;
    world.orgGrid = Grid(2, 2);
    world.envGrid = Grid(2, 2);
    world.orgGrid.set(2, 2, {255, 0, 0});
    world.envGrid.set(2, 2, {0, 0, 255});
    ImageCanvas canvas(16, 16);
    paintWorldRows(canvas, world, 2, 1, 2, 8);
    using Px = std::array<uint8_t, 3>;
    EXPECT_EQ((Px{0, 0, 255}), canvas.pixel(8, 8)); // corner mark: 4 x 4
    EXPECT_EQ((Px{0, 0, 255}), canvas.pixel(11, 11));
    EXPECT_EQ((Px{255, 0, 0}), canvas.pixel(12, 8));
    EXPECT_EQ((Px{255, 0, 0}), canvas.pixel(15, 15));
    EXPECT_EQ((Px{0, 0, 0}), canvas.pixel(7, 7)); // square (1, 1) is empty: black
}

TEST(worldpicture_test, at_square_size_1_each_pixel_is_its_organism) {
    const WorldState world = patternedWorld(4, 3);
    ImageCanvas canvas(4, 3);
    paintWorldRows(canvas, world, 4, 1, 3, 1);
    for (int c = 1; c <= 4; ++c)
        for (int r = 1; r <= 3; ++r) {
            const PackedColour expected = packColour(world.orgGrid.at(c, r));
            const auto px = canvas.pixel(c - 1, r - 1);
            EXPECT_EQ(expected, packColour(px[0], px[1], px[2])) << c << "," << r;
        }
}

} // namespace
} // namespace bx

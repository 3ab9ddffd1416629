#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

#include "engine/random.h"
#include "engine/rules.h"
#include "support/printers.h"
#include "support/referencerings.h"

namespace {

using bx::test::PrintTo;

using bx::Grid;
using bx::Rgb;

// Ring painting never yields in these tests.
const std::function<void()> noEvents;

// The reference for a whole seed: the seed square unblended, then the literal ring loop.
void literalSeed(Grid& grid, bx::SeedPosition seed, const Rgb& colour, int decay, bool blending, int limitX,
                 int limitY) {
    grid.set(bx::seedSquare(seed.x), bx::seedSquare(seed.y), colour);
    if (decay >= 1)
        bx::test::literalSeedRings(grid, seed, colour, decay, blending, limitX, limitY);
}

struct RingCase {
    std::string name;
    int sizeX, sizeY, limitX, limitY;
    float x, y;
    Rgb colour;
    int decay;
    bool blending;
    bool prefilled;
};

// A grid whose every square already holds a different colour, so that blends and
// double paints show.
Grid prefilledGrid(int sizeX, int sizeY) {
    Grid g(sizeX, sizeY);
    for (int c = 0; c <= sizeX; ++c)
        for (int r = 0; r <= sizeY; ++r)
            g.set(c, r,
                  {double((c * 37 + r * 11) % 256), double((c * 5 + r * 71) % 256), double((c + r) % 7)});
    return g;
}

::testing::AssertionResult paintsLikeTheLiteralLoop(const RingCase& c) {
    Grid fast = c.prefilled ? prefilledGrid(c.sizeX, c.sizeY) : Grid(c.sizeX, c.sizeY);
    Grid literal = fast;
    bx::paintSeedRings(fast, {c.x, c.y}, c.colour, c.decay, c.blending, c.limitX, c.limitY, noEvents);
    bx::test::literalSeedRings(literal, {c.x, c.y}, c.colour, c.decay, c.blending, c.limitX, c.limitY);
    if (fast == literal)
        return ::testing::AssertionSuccess();
    for (int col = 0; col <= c.sizeX; ++col)
        for (int row = 0; row <= c.sizeY; ++row)
            if (!(fast.at(col, row) == literal.at(col, row)) ||
                fast.written(col, row, 0) != literal.written(col, row, 0))
                return ::testing::AssertionFailure()
                       << c.name << ": square (" << col << ", " << row << ") red " << fast.at(col, row).red
                       << ", literal loop " << literal.at(col, row).red;
    return ::testing::AssertionFailure() << c.name << ": grids differ";
}

class ring_painter : public testing::TestWithParam<RingCase> {};

TEST_P(ring_painter, paints_exactly_like_the_literal_loop) {
    EXPECT_TRUE(paintsLikeTheLiteralLoop(GetParam()));
}

const Rgb red{255, 0, 0};
const Rgb grey{200, 130.5, 0.25};

INSTANTIATE_TEST_SUITE_P(
    rings_test, ring_painter,
    testing::Values(RingCase{"centre_whole", 20, 20, 20, 20, 10, 10, red, 10, true, true},
                    RingCase{"top_left_corner", 20, 20, 20, 20, 1, 1, red, 10, true, true},
                    RingCase{"bottom_right_corner", 20, 15, 20, 15, 20, 15, grey, 10, false, true},
                    RingCase{"halves_blended", 12, 12, 12, 12, 2.5f, 3.5f, red, 10, true, true},
                    RingCase{"fractions", 30, 30, 30, 30, 7.3f, 12.7f, grey, 10, true, true},
                    RingCase{"decay_1", 10, 10, 10, 10, 4.5f, 6.25f, red, 1, true, true},
                    RingCase{"decay_100", 10, 10, 10, 10, 4.5f, 6.25f, red, 100, true, true},
                    RingCase{"decay_above_colour", 10, 10, 10, 10, 4.5f, 6.25f, grey, 300, false, true},
                    RingCase{"limits_below_grid", 30, 30, 12, 7, 10.5f, 5.5f, red, 10, true, true},
                    RingCase{"limit_zero", 10, 10, 0, 0, 1, 1, red, 10, true, true}),
    [](const auto& info) { return info.param.name; });

// Seeds drawn from a fixed generator: positions over the whole grid (not only where creation
// puts them), a third on exact halves, bright and dim colours, every decay class.
TEST(rings_test, random_seeds_paint_exactly_like_the_literal_loop) {
    bx::RandomGenerator rng(20240607);
    auto below = [&rng](int n) { return std::min(n - 1, static_cast<int>(rng.next() * float(n))); };
    const int decays[] = {1, 3, 10, 25, 100, 255, 256};
    for (int i = 0; i < 3000; ++i) {
        RingCase c;
        c.name = "case " + std::to_string(i);
        c.sizeX = 1 + below(25);
        c.sizeY = 1 + below(25);
        c.limitX = below(3) == 0 ? below(c.sizeX + 1) : c.sizeX;
        c.limitY = below(3) == 0 ? below(c.sizeY + 1) : c.sizeY;
        const int kind = below(3);
        auto position = [&](int size) {
            const float whole = float(below(size + 1));
            return kind == 0 ? whole + 0.5f : kind == 1 ? whole : rng.next() * float(size);
        };
        c.x = position(c.sizeX);
        c.y = position(c.sizeY);
        c.decay = decays[below(7)];
        // Ring count stays small enough for the literal loop: at most about 40 rings.
        const double brightest = std::min(255.0, 40.0 * c.decay);
        c.colour = {rng.next() * brightest, below(4) == 0 ? 0.0 : rng.next() * brightest,
                    rng.next() * brightest};
        c.blending = below(2) == 0;
        c.prefilled = below(4) != 0;
        ASSERT_TRUE(paintsLikeTheLiteralLoop(c));
    }
}

TEST(rings_test, brightest_seed_with_decay_1_paints_like_the_literal_loop) {
    EXPECT_TRUE(paintsLikeTheLiteralLoop(
        {"decay_1_bright", 40, 40, 40, 40, 20.5f, 17.25f, {255, 255, 255}, 1, true, true}));
}

TEST(rings_test, whole_seed_paints_like_the_literal_loop_with_its_square_unblended) {
    for (const bool blending : {false, true}) {
        Grid fast = prefilledGrid(15, 15), literal = fast;
        bx::placeEnvironmentSeed(fast, {3.5f, 14.5f}, grey, 10, blending, 15, 15, noEvents);
        literalSeed(literal, {3.5f, 14.5f}, grey, 10, blending, 15, 15);
        EXPECT_EQ(literal, fast) << "blending " << blending;
    }
}

TEST(rings_test, red_seed_with_decay_100_paints_255_155_55_and_clears_its_third_ring) {
    Grid g(10, 10);
    bx::placeEnvironmentSeed(g, {5, 5}, red, 100, false, 10, 10, noEvents);
    EXPECT_EQ(red, g.at(5, 5));
    EXPECT_EQ((Rgb{155, 0, 0}), g.at(4, 4));
    EXPECT_EQ((Rgb{155, 0, 0}), g.at(6, 5));
    EXPECT_EQ((Rgb{55, 0, 0}), g.at(3, 7));
    EXPECT_EQ((Rgb{55, 0, 0}), g.at(7, 5));
    EXPECT_EQ((Rgb{0, 0, 0}), g.at(2, 5));
    EXPECT_TRUE(g.written(8, 8, 0)); // painted black: no environment
    EXPECT_FALSE(g.written(1, 5, 0));
    EXPECT_FALSE(g.written(9, 9, 0));
}

TEST(rings_test, seed_of_255_with_decay_10_has_26_rings_the_last_one_black) {
    Grid g = prefilledGrid(60, 60);
    int rings = 0;
    bx::placeEnvironmentSeed(g, {30, 30}, red, 10, false, 60, 60, [&rings] { ++rings; });
    EXPECT_EQ(26, rings);
    EXPECT_EQ((Rgb{5, 0, 0}), g.at(30 - 25, 30 + 3));
    EXPECT_EQ((Rgb{0, 0, 0}), g.at(30 + 26, 30 - 26));
    EXPECT_EQ(prefilledGrid(60, 60).at(30 + 27, 30), g.at(30 + 27, 30));
}

TEST(rings_test, zero_decay_colours_only_the_seed_square_and_yields_no_ring) {
    Grid g(10, 10);
    int rings = 0;
    bx::placeEnvironmentSeed(g, {4.5f, 4.5f}, grey, 0, true, 10, 10, [&rings] { ++rings; });
    Grid expected(10, 10);
    expected.set(4, 4, grey);
    EXPECT_EQ(expected, g);
    EXPECT_EQ(0, rings);
}

TEST(rings_test, blended_ring_corner_is_blended_twice_and_its_sides_once) {
    Grid g(10, 10);
    for (int c = 0; c <= 10; ++c)
        for (int r = 0; r <= 10; ++r)
            g.set(c, r, {100, 0, 0});
    bx::placeEnvironmentSeed(g, {5, 5}, red, 100, true, 10, 10, noEvents);
    EXPECT_EQ(red, g.at(5, 5)); // the seed square itself is not blended
    EXPECT_EQ((Rgb{((100 + 155) / 2.0 + 155) / 2, 0, 0}), g.at(4, 6));
    EXPECT_EQ((Rgb{(100 + 155) / 2.0, 0, 0}), g.at(5, 4));
    EXPECT_EQ((Rgb{((100 + 55) / 2.0 + 55) / 2, 0, 0}), g.at(7, 7));
    EXPECT_EQ((Rgb{50, 0, 0}), g.at(2, 4)); // outermost ring halves what it covers
}

TEST(rings_test, seed_on_exact_halves_paints_only_even_columns_and_rows) {
    // Columns 1.5, 2.5 and 3.5 all round to even squares: ring 1 repaints the seed square.
    Grid g(8, 8);
    bx::placeEnvironmentSeed(g, {2.5f, 2.5f}, red, 100, false, 8, 8, noEvents);
    EXPECT_EQ((Rgb{155, 0, 0}), g.at(2, 2));
    EXPECT_EQ((Rgb{55, 0, 0}), g.at(4, 4));
    EXPECT_EQ((Rgb{55, 0, 0}), g.at(0, 2));
    EXPECT_TRUE(g.written(6, 6, 0));
    for (int odd = 1; odd <= 7; odd += 2)
        for (int other = 0; other <= 8; ++other) {
            EXPECT_FALSE(g.written(odd, other, 0)) << odd << "," << other;
            EXPECT_FALSE(g.written(other, odd, 0)) << other << "," << odd;
        }
}

TEST(rings_test, corner_seed_paints_column_0_and_row_0_and_nothing_past_the_limits) {
    Grid g(10, 10);
    bx::placeEnvironmentSeed(g, {1, 1}, red, 100, false, 10, 10, noEvents);
    EXPECT_EQ((Rgb{155, 0, 0}), g.at(0, 0));
    EXPECT_EQ((Rgb{155, 0, 0}), g.at(0, 2));
    EXPECT_EQ((Rgb{55, 0, 0}), g.at(3, 0));

    Grid limited(10, 10);
    bx::placeEnvironmentSeed(limited, {5, 5}, red, 100, false, 6, 5, noEvents);
    EXPECT_EQ((Rgb{155, 0, 0}), limited.at(6, 4));
    EXPECT_FALSE(limited.written(7, 5, 0));
    EXPECT_FALSE(limited.written(5, 6, 0));
}

} // namespace

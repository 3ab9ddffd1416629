#include <gtest/gtest.h>

#include "engine/readout.h"

namespace {

struct PixelCase {
    int pixel;
    int square;
};

class pixel_to_square : public testing::TestWithParam<PixelCase> {};

TEST_P(pixel_to_square, eight_pixel_squares_in_a_fifty_square_world) {
    EXPECT_EQ(GetParam().square, bx::squareIndexAtPixel(GetParam().pixel, 8, 50));
}

// 0 rounds to 0 and is clamped; 16 gives 2.5, which goes to the even 2.
INSTANTIATE_TEST_SUITE_P(readout_test, pixel_to_square,
                         testing::Values(PixelCase{0, 1}, PixelCase{1, 1}, PixelCase{7, 1}, PixelCase{8, 2},
                                         PixelCase{16, 2}, PixelCase{17, 3}, PixelCase{-40, 1},
                                         PixelCase{399, 50}, PixelCase{5000, 50}));

TEST(readout_test, components_round_half_to_even_in_read_out_order) {
    bx::Grid org(3, 3), env(3, 3);
    org.set(2, 3, {127.5, 126.5, 0.49});
    env.set(2, 3, {255, 0.5, 1.5});
    const bx::Readout r = bx::inspectSquare(8, 17, 8, 3, 3, org, env);
    EXPECT_EQ((bx::Readout{2, 3, 128, 126, 0, 255, 0, 2}), r);
}

TEST(readout_test, pointer_beyond_the_world_shows_the_last_square_and_empty_square_reads_zero) {
    bx::Grid org(4, 2), env(4, 2);
    const bx::Readout r = bx::inspectSquare(1000, 1000, 8, 4, 2, org, env);
    EXPECT_EQ((bx::Readout{4, 2, 0, 0, 0, 0, 0, 0}), r);
}

} // namespace

#include "record/stats.h"

#include <gtest/gtest.h>

namespace bx {
namespace {

TEST(stats_test, means_take_only_visible_squares_where_the_layer_is_present) {
    Grid grid(3, 2);
    grid.set(0, 1, {255, 255, 255}); // column 0: not visible
    grid.set(1, 0, {255, 255, 255}); // row 0: not visible
    grid.set(1, 1, {10, 0, 0});
    grid.set(2, 2, {0, 0, 1}); // present by its blue alone
    grid.set(3, 1, {0, 0, 0}); // written black: absent
    EXPECT_EQ((Rgb{5, 0, 0.5}), layerMean(grid, 3, 2));
    EXPECT_EQ(2, summarizeLayer(grid, 3, 2).present);
}

TEST(stats_test, a_layer_present_nowhere_has_mean_zero) {
    EXPECT_EQ((Rgb{0, 0, 0}), layerMean(Grid(4, 4), 4, 4));
}

TEST(stats_test, means_stop_at_the_smaller_of_world_and_grid) {
    Grid grid(2, 2);
    grid.set(2, 2, {8, 8, 8});
    grid.set(1, 1, {2, 2, 2});
    EXPECT_EQ((Rgb{2, 2, 2}), layerMean(grid, 1, 1));
    EXPECT_EQ((Rgb{5, 5, 5}), layerMean(grid, 9, 9));
}

TEST(stats_test, a_row_has_ten_columns_with_four_decimal_means) {
    GenerationStats s;
    s.generation = 12345678901;
    s.organisms = 7;
    s.environments = 2500;
    s.organismMean = {1.0 / 3, 255, 0.00006};
    s.environmentMean = {0, 12.34567, 99.99999};
    s.reset = true;
    EXPECT_EQ("12345678901,7,2500,0.3333,255.0000,0.0001,0.0000,12.3457,100.0000,1", statsCsvRow(s));
}

} // namespace
} // namespace bx

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/painting.h"
#include "support/simfixture.h"

namespace {

using bx::test::Box;
using bx::test::RecordingCanvas;
using bx::test::SimFixture;

const bx::Rgb red{255, 0, 0};
const bx::Rgb blueish{0, 0, 127.5}; // packs to 128 * 65536

struct LayerCase {
    const char* name;
    bool organisms, environment;
    std::vector<Box> boxes;
};

class paint_square_layers : public testing::TestWithParam<LayerCase> {};

TEST_P(paint_square_layers, square_2_3_of_size_8) {
    RecordingCanvas canvas;
    bx::paintSquareModel(canvas, 2, 3, 8, red, blueish, GetParam().organisms, GetParam().environment);
    EXPECT_EQ(GetParam().boxes, canvas.boxes);
}

INSTANTIATE_TEST_SUITE_P(
    drawing_test, paint_square_layers,
    testing::Values(LayerCase{"both", true, true, {{8, 16, 16, 24, 255}, {8, 16, 11, 19, 128u * 65536}}},
                    LayerCase{"organisms", true, false, {{8, 16, 16, 24, 255}}},
                    LayerCase{"environment", false, true, {{8, 16, 16, 24, 128u * 65536}}},
                    LayerCase{"neither", false, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(drawing_test, odd_square_sizes_give_fractional_corner_marks_and_column_zero_lies_off_canvas) {
    RecordingCanvas canvas;
    bx::paintSquareModel(canvas, 0, 1, 5, red, red, true, true);
    EXPECT_EQ((std::vector<Box>{{-5, 0, 0, 5, 255}, {-5, 0, -3.5, 1.5, 255}}), canvas.boxes);
}

TEST(drawing_test, pixel_spans_round_half_to_even_and_order_their_ends) {
    EXPECT_EQ(2, bx::pixelSpan(1.5, 4.5).first);
    EXPECT_EQ(4, bx::pixelSpan(1.5, 4.5).last);
    EXPECT_EQ(-1, bx::pixelSpan(0, -0.5 - 0.6).first); // a negative extent still covers its pixels
    EXPECT_EQ(0, bx::pixelSpan(0, -1.1).last);
}

// A world with nothing to create finishes creation in its first tick and draws from there.
struct EmptyWorld : SimFixture {
    explicit EmptyWorld(int sizeX = 50, int sizeY = 50, int slowdown = 0) {
        options.gridSizeX = sizeX;
        options.gridSizeY = sizeY;
        options.slowdown = slowdown;
        options.startOrganisms = options.startEnvironments = 0;
        scripted.fillWith(0.0f);
        sim->reset();
    }
    std::vector<std::string> drawingCaptions() const {
        std::vector<std::string> out;
        for (const auto& c : host.displayCaptions)
            if (c.rfind("Drawing world, ", 0) == 0)
                out.push_back(c);
        return out;
    }
};

TEST(drawing_test, fifty_columns_take_fifty_ticks_and_the_caption_counts_them) {
    EmptyWorld f;
    const int ticks = f.tickWhile(bx::Phase::Create) + f.tickWhile(bx::Phase::Draw);
    EXPECT_EQ(50, ticks);
    const auto captions = f.drawingCaptions();
    ASSERT_EQ(50u, captions.size());
    EXPECT_EQ("Drawing world, 1 of 50.", captions.front());
    EXPECT_EQ("Drawing world, 50 of 50.", captions.back());
    EXPECT_EQ("Simulator", f.host.displayCaption);
    EXPECT_EQ(bx::Phase::Idle, f.world.phase);
    EXPECT_FALSE(f.host.timerEnabled);
    EXPECT_EQ(0, f.driver().squareX);
    // 50 squares of column 1 (from row 1), then 51 per column from row 0; two boxes each.
    EXPECT_EQ(2u * (50 + 49 * 51), f.canvas.boxes.size());
}

TEST(drawing_test, slowdown_five_spreads_a_column_of_fifty_one_squares_over_seven_ticks) {
    EmptyWorld f(3, 50, 5);
    f.tickWhile(bx::Phase::Create);   // creation and the first drawing pass share this tick
    EXPECT_EQ(9, f.driver().drawRow); // rows 1..8 painted: budget round(51 / 6) = 8
    f.canvas.boxes.clear();
    int ticks = 0;
    while (f.driver().drawColumn == 1) {
        f.sim->tick();
        ++ticks;
    }
    EXPECT_EQ(6, ticks); // 7 ticks in all for column 1's 50 squares
    f.canvas.boxes.clear();
    ticks = 0;
    while (f.driver().drawColumn == 2) {
        f.sim->tick();
        ++ticks;
    }
    EXPECT_EQ(7, ticks); // rows 0..50: six ticks of 8 and one of 3
}

TEST(drawing_test, negative_slowdown_draws_several_columns_per_tick) {
    EmptyWorld f(50, 50, -3);
    f.driver().passesPerTick = 12;
    EXPECT_EQ(5, f.tickWhile(bx::Phase::Create) + f.tickWhile(bx::Phase::Draw)); // 12 + 12 + 12 + 12 + 2
}

TEST(drawing_test, hidden_simulation_paints_nothing_and_stays_in_the_drawing_phase) {
    EmptyWorld f;
    f.world.simulationShown = false;
    f.tickWhile(bx::Phase::Create);
    for (int i = 0; i < 100; ++i)
        f.sim->tick();
    EXPECT_EQ(bx::Phase::Draw, f.world.phase);
    EXPECT_TRUE(f.canvas.boxes.empty());
    EXPECT_EQ(1, f.driver().drawColumn);
}

TEST(drawing_test, drawing_ends_running_when_the_simulation_was_started) {
    EmptyWorld f(4, 4);
    f.tickWhile(bx::Phase::Create);
    f.world.running = true; // started while drawing, as the driver's start command would not
    f.tickWhile(bx::Phase::Draw);
    EXPECT_EQ(bx::Phase::Run, f.world.phase);
    EXPECT_TRUE(f.host.timerEnabled);
}

TEST(drawing_test, full_screen_uses_its_square_size_and_changes_no_caption) {
    EmptyWorld f(2, 2);
    f.world.fullScreen = true;
    f.world.fullScreenSquareSize = 15;
    f.host.displayCaptions.clear();
    f.tickWhile(bx::Phase::Create);
    f.tickWhile(bx::Phase::Draw);
    EXPECT_TRUE(f.drawingCaptions().empty());
    EXPECT_EQ((Box{0, 0, 15, 15, 0}), f.canvas.boxes.front());
}

TEST(drawing_test, with_both_layers_hidden_drawing_still_walks_every_square) {
    EmptyWorld f(5, 5);
    f.world.showOrganisms = f.world.showEnvironment = false;
    EXPECT_EQ(5, f.tickWhile(bx::Phase::Create) + f.tickWhile(bx::Phase::Draw));
    EXPECT_TRUE(f.canvas.boxes.empty());
}

} // namespace

#include "engine/saverworld.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/scriptedrandom.h"

namespace bx {
namespace {

using test::ScriptedRandom;

struct Box {
    double x1, y1, x2, y2;
    PackedColour colour;
};

class RecordingCanvas : public Canvas {
public:
    std::vector<Box> boxes;
    void clear() override {}
    void fillBox(double x1, double y1, double x2, double y2, PackedColour colour) override {
        boxes.push_back({x1, y1, x2, y2, colour});
    }
};

class FakeSaverHost : public SaverHost {
public:
    SurfaceSize size;
    RecordingCanvas canvas;
    std::vector<SaverMode> timersEnabled;
    int eventRuns = 0;
    SurfaceSize surfaceSize(SaverMode) override { return size; }
    Canvas* surfaceCanvas(SaverMode) override { return &canvas; }
    void enableTimer(SaverMode mode) override { timersEnabled.push_back(mode); }
    void letEventsRun() override { ++eventRuns; }
};

SaverWorld worldFor(SaverMode saverMode, double squareSize = 6) {
    SaverWorld world;
    world.saverMode = saverMode;
    world.squareSizeSetting = squareSize;
    return world;
}

// --- world size and seed counts -------------------------------------------------------------

struct SizeCase {
    const char* name;
    SaverMode mode;
    double setting;
    SurfaceSize surface;
    int gridX, gridY, square;
    int envLow, envHigh, orgLow, orgHigh;
};

class SaverWorldSize : public ::testing::TestWithParam<SizeCase> {};

// U = 0 gives the low counts; U just below 1 the high ones.
TEST_P(SaverWorldSize, grid_and_seed_counts_follow_the_surface) {
    const SizeCase& c = GetParam();
    for (const float u : {0.0f, 0.9999f}) {
        FakeSaverHost host;
        host.size = c.surface;
        SaverWorld world = worldFor(c.mode, c.setting);
        RandomGenerator rng(7);
        ScriptedRandom counts{u, u};
        // The counts come from the first two numbers; everything after from a seeded generator.
        struct Chained final : RandomSource {
            ScriptedRandom& first;
            RandomGenerator& then;
            Chained(ScriptedRandom& f, RandomGenerator& t) : first(f), then(t) {}
            std::size_t produce(float* out, std::size_t) override {
                *out = first.remaining() ? first.next() : then.next();
                return 1;
            }
            void reseedSource() override {}
        } source(counts, rng);
        createWorld(world, host, source);
        EXPECT_EQ(c.gridX, world.gridSizeX) << c.name;
        EXPECT_EQ(c.gridY, world.gridSizeY) << c.name;
        EXPECT_EQ(c.square, world.squareSize) << c.name;
        EXPECT_EQ(u == 0 ? c.envLow : c.envHigh, world.envSeeds) << c.name;
        EXPECT_EQ(u == 0 ? c.orgLow : c.orgHigh, world.orgSeeds) << c.name;
        EXPECT_EQ(c.gridX, world.orgGrid.sizeX());
        EXPECT_EQ(c.gridY, world.envGrid.sizeY());
        EXPECT_EQ(world.envSeeds, host.eventRuns); // events run once before each environment seed
        EXPECT_EQ(std::vector<SaverMode>{c.mode}, host.timersEnabled);
    }
}

INSTANTIATE_TEST_SUITE_P(
    saver, SaverWorldSize,
    ::testing::Values(
        SizeCase{"full640x480", SaverMode::FullScreen, 6, {640, 480}, 107, 80, 6, 21, 30, 43, 87},
        SizeCase{"preview152x112", SaverMode::Preview, 20, {152, 112}, 25, 19, 6, 1, 3, 2, 6},
        SizeCase{"tiny10x10", SaverMode::Config, 6, {60, 60}, 10, 10, 6, 1, 1, 1, 2},
        // No 16-bit limit on the square count: 518400 squares.
        SizeCase{
            "hd1920x1080at2", SaverMode::FullScreen, 2, {1920, 1080}, 960, 540, 2, 1296, 1729, 2592, 5185},
        // 2.5 sizes the grid; painting uses 2.
        SizeCase{"fraction2_5", SaverMode::Config, 2.5, {640, 480}, 256, 192, 2, 123, 165, 246, 493}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(saverworld_test, seeds_land_on_the_grid_and_every_organism_is_placed) {
    FakeSaverHost host;
    host.size = {640, 480};
    SaverWorld world = worldFor(SaverMode::FullScreen);
    RandomGenerator rng(11);
    createWorld(world, host, rng);
    int organisms = 0, environments = 0;
    for (int c = 0; c <= world.gridSizeX; ++c)
        for (int r = 0; r <= world.gridSizeY; ++r) {
            organisms += world.orgGrid.at(c, r).present();
            environments += world.envGrid.at(c, r).present();
            if (c == 0 || r == 0) {
                EXPECT_FALSE(world.orgGrid.at(c, r).present()) << c << "," << r;
            }
        }
    EXPECT_GE(world.orgSeeds, organisms); // two organisms may land on one square
    EXPECT_LE(organisms, 87);
    EXPECT_GT(organisms, 30);
    EXPECT_GT(environments, world.envSeeds); // the rings spread each seed
    EXPECT_TRUE(host.canvas.boxes.empty());  // creation paints nothing
}

TEST(saverworld_test, the_same_seed_builds_and_runs_the_same_world) {
    const auto run = [] {
        FakeSaverHost host;
        host.size = {152, 112};
        SaverWorld world = worldFor(SaverMode::Preview);
        RandomGenerator rng(3);
        createWorld(world, host, rng);
        for (int i = 0; i < 60; ++i)
            stepWorld(world, host, rng);
        return world;
    };
    const SaverWorld a = run(), b = run();
    EXPECT_EQ(a.orgGrid, b.orgGrid);
    EXPECT_EQ(a.envGrid, b.envGrid);
    EXPECT_EQ(a.displayMode, b.displayMode);
}

// --- surfaces smaller than one square -------------------------------------------------------

TEST(saverworld_test, a_surface_below_one_square_builds_an_empty_world_and_paints_nothing) {
    for (const SurfaceSize size : {SurfaceSize{0, 0}, SurfaceSize{2, 400}, SurfaceSize{400, 2}}) {
        FakeSaverHost host;
        host.size = size;
        SaverWorld world = worldFor(SaverMode::FullScreen);
        RandomGenerator rng(1);
        createWorld(world, host, rng);
        for (int i = 0; i < 5; ++i)
            stepWorld(world, host, rng);
        EXPECT_TRUE(host.canvas.boxes.empty());
        EXPECT_EQ(1, world.stepColumn);
        // Once the surface grows, a rebuild gives a real world.
        host.size = {60, 60};
        world.rebuildRequested = true;
        stepWorld(world, host, rng);
        EXPECT_EQ(10, world.gridSizeY);
        EXPECT_FALSE(host.canvas.boxes.empty());
    }
}

// --- the sweep ------------------------------------------------------------------------------

TEST(saverworld_test, a_tick_updates_and_paints_one_column_of_rows_one_to_gridsizey) {
    FakeSaverHost host;
    host.size = {60, 30}; // 10 × 5 squares
    SaverWorld world = worldFor(SaverMode::Config);
    RandomGenerator rng(5);
    createWorld(world, host, rng);
    world.displayCountdown = 100;
    stepWorld(world, host, rng);
    ASSERT_EQ(10u, host.canvas.boxes.size()); // organism square and corner mark, 5 rows
    EXPECT_EQ(0, host.canvas.boxes[0].x1);
    EXPECT_EQ(0, host.canvas.boxes[0].y1);
    EXPECT_EQ(6, host.canvas.boxes[0].x2);
    EXPECT_EQ(2, host.canvas.boxes[1].x2); // corner mark to s/2 - 1
    EXPECT_EQ(24, host.canvas.boxes[8].y1);
    EXPECT_EQ(2, world.stepColumn);
    EXPECT_EQ(2, world.squareX);
    for (int i = 0; i < 9; ++i)
        stepWorld(world, host, rng);
    EXPECT_EQ(1, world.stepColumn); // after column 10, back to 1
}

TEST(saverworld_test, display_modes_choose_the_layers_painted) {
    // Mode 1 and 3: organism square and environment corner; 2: organism; 4: environment.
    const int boxesPerSquare[] = {0, 2, 1, 2, 1};
    for (int mode = 1; mode <= 4; ++mode) {
        SaverWorld world;
        world.orgGrid = Grid(1, 1);
        world.envGrid = Grid(1, 1);
        world.orgGrid.set(1, 1, {255, 0, 0});
        world.envGrid.set(1, 1, {0, 0, 255});
        world.displayMode = static_cast<DisplayMode>(mode);
        RecordingCanvas canvas;
        paintSaverSquare(world, canvas);
        ASSERT_EQ(std::size_t(boxesPerSquare[mode]), canvas.boxes.size()) << mode;
        EXPECT_EQ(mode == 4 ? packColour(0, 0, 255) : packColour(255, 0, 0), canvas.boxes[0].colour) << mode;
    }
}

TEST(saverworld_test, display_mode_cycles_one_two_three_four_one_and_runs_on_across_worlds) {
    FakeSaverHost host;
    host.size = {12, 12}; // 2 × 2 squares: the countdown draws U × 20
    SaverWorld world = worldFor(SaverMode::Config);
    ScriptedRandom rng;
    rng.fillWith(0.0f); // every roll fails, the countdown restarts from 0 each time
    createWorld(world, host, rng);
    std::vector<int> modes;
    for (int i = 0; i < 5; ++i) {
        stepWorld(world, host, rng);
        modes.push_back(int(world.displayMode));
    }
    EXPECT_EQ((std::vector<int>{2, 3, 4, 1, 2}), modes);
    world.rebuildRequested = true;
    stepWorld(world, host, rng);
    EXPECT_EQ(DisplayMode::BothAgain, world.displayMode);
}

TEST(saverworld_test, display_mode_holds_while_the_countdown_lasts) {
    FakeSaverHost host;
    host.size = {60, 60}; // 10 columns: countdown = 100 × U
    SaverWorld world = worldFor(SaverMode::Config);
    ScriptedRandom rng;
    rng.fillWith(0.0f);
    createWorld(world, host, rng);
    rng.push(0.05f); // countdown 5
    stepWorld(world, host, rng);
    EXPECT_FLOAT_EQ(4, world.displayCountdown);
    for (int i = 0; i < 3; ++i)
        stepWorld(world, host, rng);
    EXPECT_EQ(DisplayMode::Both, world.displayMode);
    stepWorld(world, host, rng); // countdown 0 < 1
    EXPECT_EQ(DisplayMode::Organisms, world.displayMode);
}

// --- dead worlds and rebuilds ---------------------------------------------------------------

TEST(saverworld_test, a_dead_column_before_the_last_rebuilds_the_world_at_the_generation_end) {
    FakeSaverHost host;
    host.size = {30, 30}; // 5 × 5
    SaverWorld world = worldFor(SaverMode::Config);
    ScriptedRandom rng;
    rng.fillWith(0.99f); // every roll fails: the layers stand still
    createWorld(world, host, rng);
    // A living world except column 4 (gridSizeX - 1); column 5 alive.
    world.orgGrid = Grid(5, 5);
    world.envGrid = Grid(5, 5);
    for (int c = 1; c <= 5; ++c)
        if (c != 4)
            world.envGrid.set(c, 1, {0, 0, 200});
    const Grid marker = world.envGrid;
    world.displayCountdown = 1000;
    for (int i = 0; i < 4; ++i)
        stepWorld(world, host, rng);
    EXPECT_EQ(1, world.worldDead); // column 4 was empty
    EXPECT_EQ(marker, world.envGrid);
    stepWorld(world, host, rng);      // column 5 ends the generation
    EXPECT_NE(marker, world.envGrid); // a new world
    EXPECT_EQ(1, world.stepColumn);
    EXPECT_EQ(0, world.worldDead); // column 5 was alive when swept
}

TEST(saverworld_test, a_living_column_before_the_last_keeps_the_world) {
    FakeSaverHost host;
    host.size = {30, 30};
    SaverWorld world = worldFor(SaverMode::Config);
    ScriptedRandom rng;
    rng.fillWith(0.99f);
    createWorld(world, host, rng);
    world.orgGrid = Grid(5, 5);
    world.envGrid = Grid(5, 5);
    world.envGrid.set(4, 2, {0, 0, 200});
    const Grid marker = world.envGrid;
    world.displayCountdown = 1000;
    for (int i = 0; i < 5; ++i)
        stepWorld(world, host, rng);
    EXPECT_EQ(marker, world.envGrid);
}

TEST(saverworld_test, a_rebuild_request_builds_at_the_new_size_on_the_next_tick_without_painting_it_at_once) {
    FakeSaverHost host;
    host.size = {240, 180};
    SaverWorld world = worldFor(SaverMode::Config);
    RandomGenerator rng(2);
    createWorld(world, host, rng);
    EXPECT_EQ(40, world.gridSizeX);
    world.squareSizeSetting = 10;
    world.rebuildRequested = true;
    stepWorld(world, host, rng);
    EXPECT_FALSE(world.rebuildRequested);
    EXPECT_EQ(24, world.gridSizeX);
    EXPECT_EQ(18, world.gridSizeY);
    EXPECT_EQ(10, world.squareSize);
    EXPECT_EQ(2u * 18u, host.canvas.boxes.size()); // only the first column of the new world
}

TEST(saverworld_test, a_tick_during_creation_does_not_step_the_half_built_world) {
    struct ReentrantHost : FakeSaverHost {
        SaverWorld* world = nullptr;
        RandomSource* rng = nullptr;
        void letEventsRun() override {
            ++eventRuns;
            stepWorld(*world, *this, *rng);
        }
    } host;
    host.size = {120, 120};
    SaverWorld world = worldFor(SaverMode::FullScreen);
    RandomGenerator rng(4);
    host.world = &world;
    host.rng = &rng;
    createWorld(world, host, rng);
    EXPECT_GT(host.eventRuns, 0);
    EXPECT_TRUE(host.canvas.boxes.empty());
    EXPECT_EQ(1, world.stepColumn);
}

} // namespace
} // namespace bx

namespace bx {
namespace {

// Ticks every 4 ms step four columns; a tick after a freeze steps at most eight.
TEST(saverworld_test, the_pace_is_a_column_a_millisecond_without_a_burst_after_a_freeze) {
    ColumnPace pace;
    const int64_t ms = 1000000;
    EXPECT_EQ(1, pace.due(0));
    EXPECT_EQ(4, pace.due(4 * ms));
    EXPECT_EQ(1, pace.due(4 * ms + ms / 2)); // too early: one all the same
    EXPECT_EQ(4, pace.due(8 * ms + ms / 2));
    EXPECT_EQ(8, pace.due(10000 * ms)); // ten seconds stopped
    EXPECT_EQ(4, pace.due(10004 * ms));
}

// A host window resized from 200 x 150 to 600 x 450: the next tick builds a world that fills it.
TEST(saverworld_test, a_resized_surface_gets_a_world_built_for_its_new_size) {
    FakeSaverHost host;
    host.size = {200, 150};
    SaverWorld world = worldFor(SaverMode::HostWindow);
    RandomGenerator rng(3);
    createWorld(world, host, rng);
    stepWorld(world, host, rng);
    EXPECT_EQ(33, world.gridSizeX);
    host.size = {600, 450};
    stepWorld(world, host, rng);
    EXPECT_EQ(100, world.gridSizeX);
    EXPECT_EQ(75, world.gridSizeY);
    EXPECT_EQ(100, world.orgGrid.sizeX());
}

} // namespace
} // namespace bx

#include <gtest/gtest.h>

#include <array>

#include "support/simfixture.h"

namespace {

using bx::test::SmallWorld;

TEST(driver_test, reset_locks_the_creation_commands_and_starts_creating_a_blank_world) {
    SmallWorld f;
    EXPECT_EQ(bx::Phase::Create, f.world.phase);
    EXPECT_TRUE(f.host.timerEnabled);
    EXPECT_FALSE(f.host.creationCommandsEnabled);
    EXPECT_EQ("Bramblex 2.1", f.host.mainCaption);
    EXPECT_EQ("Simulator", f.host.displayCaption);
    EXPECT_EQ(0, f.host.shownGeneration);
    EXPECT_EQ(1, f.host.layouts);
    EXPECT_EQ(1, f.host.readoutsCleared);
    EXPECT_EQ(1, f.host.worldResets);
    EXPECT_EQ(1, f.canvas.clears);
    EXPECT_EQ(10, f.world.orgGrid.sizeX());
    EXPECT_FALSE(f.world.envGrid.written(5, 5, 0));
}

struct DropCase {
    const char* name;
    bool running;
    bx::Phase phase, after;
};

class dropping_the_redraw : public testing::TestWithParam<DropCase> {};

// Hiding the simulation: a redraw in progress gives way to the running update; a world being
// made is finished first, and a stopped simulation keeps its phase.
TEST_P(dropping_the_redraw, leaves_only_a_running_redraw_for_the_update) {
    SmallWorld f;
    f.world.running = GetParam().running;
    f.world.phase = GetParam().phase;
    f.sim->setShown(false);
    EXPECT_EQ(GetParam().after, f.world.phase);
}

INSTANTIATE_TEST_SUITE_P(driver_test, dropping_the_redraw,
                         testing::Values(DropCase{"running_redraw", true, bx::Phase::Draw, bx::Phase::Run},
                                         DropCase{"running_creation", true, bx::Phase::Create,
                                                  bx::Phase::Create},
                                         DropCase{"stopped_redraw", false, bx::Phase::Draw, bx::Phase::Draw}),
                         [](const auto& info) { return std::string(info.param.name); });

// Requested while the world is still being made, with passes enough for several generations a
// tick: the step waits for creation and drawing, then stops right at the end of one generation.
TEST(driver_test, a_step_runs_exactly_one_generation_and_comes_to_rest) {
    SmallWorld f;
    f.driver().passesPerTick = 50;
    f.sim->stepGeneration();
    for (int generation = 1; generation <= 2; ++generation) {
        for (int i = 0; i < 1000 && (f.sim->stepping() || f.world.phase != bx::Phase::Idle); ++i)
            f.sim->tick();
        EXPECT_EQ(generation, f.world.generation);
        EXPECT_EQ(bx::Phase::Idle, f.world.phase);
        EXPECT_EQ(0, f.driver().stepColumn); // at the start of the next generation
        EXPECT_FALSE(f.world.running);
        EXPECT_FALSE(f.host.timerEnabled);
        EXPECT_EQ("Simulator", f.host.displayCaption);
        EXPECT_EQ(generation, f.host.shownGeneration);
        f.sim->stepGeneration();
    }
    f.sim->startStop();
    f.sim->stepGeneration(); // while running: nothing
    EXPECT_FALSE(f.sim->stepping());
}

TEST(driver_test, startup_creates_then_draws_then_idles_until_started) {
    SmallWorld f;
    f.sim->tick();
    EXPECT_EQ("Creating world, 1 of 6.", f.host.displayCaptions[1]);
    f.tickWhile(bx::Phase::Create);
    EXPECT_TRUE(f.host.creationCommandsEnabled);
    EXPECT_EQ(3, f.host.shownOrganisms); // the start counts, shown by the redraw
    f.tickWhile(bx::Phase::Draw);
    EXPECT_EQ(bx::Phase::Idle, f.world.phase);
    EXPECT_FALSE(f.host.timerEnabled);
    EXPECT_EQ("Simulator", f.host.displayCaption);
    EXPECT_EQ(0, f.world.generation);
}

TEST(driver_test, start_and_stop_switch_phase_timer_and_captions) {
    SmallWorld f;
    f.tickWhile(bx::Phase::Create);
    f.sim->tick(); // part of the world drawn
    f.driver().deathCount = 1;
    f.sim->startStop();
    EXPECT_EQ(bx::Phase::Run, f.world.phase);
    EXPECT_TRUE(f.world.running);
    EXPECT_TRUE(f.host.runStateRunning);
    EXPECT_EQ("Running.", f.host.displayCaption);
    EXPECT_EQ(0, f.driver().deathCount);
    f.sim->startStop();
    EXPECT_EQ(bx::Phase::Idle, f.world.phase);
    EXPECT_FALSE(f.host.timerEnabled);
    EXPECT_FALSE(f.host.runStateRunning);
    EXPECT_EQ("Simulator", f.host.displayCaption);
    EXPECT_EQ("Bramblex 2.1", f.host.mainCaption);
}

TEST(driver_test, hidden_simulation_shows_running_in_the_main_caption) {
    SmallWorld f;
    f.tickWhile(bx::Phase::Create);
    f.world.simulationShown = false;
    f.host.displayCaptions.clear();
    f.sim->startStop();
    EXPECT_EQ("Running.", f.host.mainCaption);
    EXPECT_TRUE(f.host.displayCaptions.empty());
}

TEST(driver_test, reset_question_answered_no_changes_nothing) {
    SmallWorld f;
    f.tickWhile(bx::Phase::Create);
    f.sim->startStop();
    f.sim->tick();
    const bx::Grid before = f.world.orgGrid;
    f.host.answers = {bx::Answer::No};
    EXPECT_FALSE(f.sim->confirmReset());
    ASSERT_EQ(1u, f.host.questions.size());
    EXPECT_EQ("Reset Simulation?", f.host.questions[0].title);
    EXPECT_EQ("This will reset all data.\rAre you sure?", f.host.questions[0].text);
    EXPECT_EQ(bx::DefaultButton::No, f.host.questions[0].defaultButton);
    EXPECT_EQ(10000, f.host.questions[0].helpContext);
    EXPECT_EQ(bx::Phase::Run, f.world.phase);
    EXPECT_TRUE(f.world.running);
    EXPECT_EQ(before, f.world.orgGrid);
}

TEST(driver_test, reset_without_prompt_stops_a_running_world_and_recreates_it) {
    SmallWorld f;
    f.options.promptOnReset = false;
    f.tickWhile(bx::Phase::Create);
    f.sim->startStop();
    f.sim->tick();
    EXPECT_TRUE(f.sim->confirmReset());
    EXPECT_TRUE(f.host.questions.empty());
    EXPECT_FALSE(f.world.running);
    EXPECT_EQ(bx::Phase::Create, f.world.phase);
    EXPECT_FALSE(f.host.creationCommandsEnabled);
}

TEST(driver_test, creation_while_hidden_and_running_skips_drawing) {
    SmallWorld f;
    f.world.simulationShown = false;
    f.world.running = true;
    f.tickWhile(bx::Phase::Create);
    EXPECT_EQ(bx::Phase::Run, f.world.phase);
    EXPECT_TRUE(f.canvas.boxes.empty());
}

TEST(driver_test, refresh_does_nothing_during_creation_and_restarts_drawing_otherwise) {
    SmallWorld f;
    const int shown = f.host.countersShown;
    f.sim->refresh();
    EXPECT_EQ(bx::Phase::Create, f.world.phase);
    EXPECT_EQ(shown, f.host.countersShown);
    f.tickWhile(bx::Phase::Create);
    f.tickWhile(bx::Phase::Draw);
    f.sim->refresh();
    EXPECT_EQ(bx::Phase::Draw, f.world.phase);
    EXPECT_EQ(1, f.driver().drawColumn);
    EXPECT_TRUE(f.host.timerEnabled);
}

TEST(driver_test, restart_creation_seeds_on_top_of_the_old_world) {
    SmallWorld f;
    f.tickWhile(bx::Phase::Create);
    const bx::Grid old = f.world.envGrid;
    f.world.generation = 5;
    f.sim->restartCreation();
    EXPECT_EQ(bx::Phase::Create, f.world.phase);
    EXPECT_EQ(0, f.driver().environmentsPlaced);
    EXPECT_EQ(old, f.world.envGrid);
    EXPECT_EQ(5, f.world.generation);
}

TEST(driver_test, a_tick_during_the_ring_painters_event_yield_does_not_nest) {
    SmallWorld f;
    f.options.startOrganisms = 0;
    f.options.startEnvironments = 2;
    f.options.environmentStartDecay = 1;
    int nestedTicks = 0;
    f.host.onProcessEvents = [&] {
        f.sim->tick();
        ++nestedTicks;
    };
    f.sim->tick();
    EXPECT_GT(nestedTicks, 0);
    EXPECT_EQ(1, f.driver().environmentsPlaced);
}

TEST(driver_test, a_reset_during_the_ring_yield_leaves_creation_running_on_the_new_grids) {
    SmallWorld f;
    f.options.startOrganisms = 0;
    f.options.startEnvironments = 1;
    f.options.environmentStartDecay = 1;
    bool once = false;
    f.host.onProcessEvents = [&] {
        if (once)
            return;
        once = true;
        f.options.gridSizeX = f.options.gridSizeY = 3; // a smaller world appears mid-seed
        f.sim->reset();
    };
    f.sim->tick();
    EXPECT_EQ(3, f.world.envGrid.sizeX());
    EXPECT_EQ(1, f.driver().environmentsPlaced);
}

// A loaded world replaces the one being created for a save: neither it nor the next world made
// is saved, and every cursor starts at square 1.
TEST(driver_test, a_world_loaded_during_creation_for_a_save_drops_the_save) {
    SmallWorld f;
    f.sim->resetAndSave();
    f.sim->tick();
    ASSERT_EQ(bx::Phase::Create, f.world.phase);
    f.sim->loadWorld({bx::Grid(10, 10), bx::Grid(10, 10), 4, 5, 6});
    const bx::WorldState& w = f.world;
    const auto& d = f.driver();
    EXPECT_EQ((std::array{1, 1, 1, 1, 1, 1}),
              (std::array{d.squareX, d.squareY, d.stepColumn, d.stepRow, d.drawColumn, d.drawRow}));
    EXPECT_EQ((std::array{4, 5, 6}), (std::array{w.organismCount, w.environmentCount, w.generation}));
    EXPECT_EQ(bx::Phase::Draw, w.phase);
    EXPECT_TRUE(f.host.creationCommandsEnabled);
    f.tickWhile(bx::Phase::Draw);
    f.sim->reset();
    f.tickWhile(bx::Phase::Create);
    EXPECT_EQ(0, f.host.saveDialogs);
}

// The count of lifeless generations starts again with a square size the user picks, not with
// the halving that fits the world to the screen.
TEST(driver_test, only_a_chosen_square_size_restarts_the_dead_world_count) {
    SmallWorld f;
    f.driver().deathCount = 1;
    f.sim->fitSquaresTo(20, 20);
    EXPECT_EQ(2, f.world.squareSize);
    EXPECT_EQ(1, f.driver().deathCount);
    f.sim->setSquareSize(16);
    EXPECT_EQ(0, f.driver().deathCount);
}

} // namespace

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "support/simfixture.h"

namespace {

using Square = std::pair<int, int>;

// An empty world (nothing to create, no asteroid ever hits) that has been drawn and started.
struct RunningWorld : bx::test::SimFixture {
    RunningWorld(int sizeX, int sizeY, int slowdown = 0) {
        options.gridSizeX = sizeX;
        options.gridSizeY = sizeY;
        options.slowdown = slowdown;
        options.startOrganisms = options.startEnvironments = 0;
        options.promptOnDeath = false;
        scripted.fillWith(0.0f);
        sim->reset();
        tickWhile(bx::PhaseCreate);
        tickWhile(bx::PhaseDraw);
        sim->startStop();
        canvas.boxes.clear();
    }
    // Squares repainted by the update, in order (only the full-square boxes).
    std::vector<Square> updatedSquares() const {
        std::vector<Square> out;
        const double s = world.squareSize;
        for (const auto& b : canvas.boxes)
            if (b.x2 - b.x1 == s)
                out.emplace_back(static_cast<int>(b.x1 / s) + 1, static_cast<int>(b.y1 / s) + 1);
        return out;
    }
};

TEST(update_test, first_generation_sweeps_column_zero_from_row_zero_then_never_reaches_the_last_column) {
    RunningWorld f(3, 2);
    for (int i = 0; i < 3; ++i)
        f.sim->tick();
    const std::vector<Square> expected{{0, 0}, {0, 1}, {0, 2}, {1, 1}, {1, 2}, {2, 1}, {2, 2}};
    EXPECT_EQ(expected, f.updatedSquares());
    EXPECT_EQ(1, f.world.generation);
}

TEST(update_test, later_generations_start_with_the_last_column_then_go_from_the_first) {
    RunningWorld f(3, 2);
    f.world.orgGrid.set(1, 1, {0, 0, 1}); // keeps the world alive (see the counters test)
    for (int i = 0; i < 3; ++i)
        f.sim->tick();
    f.canvas.boxes.clear();
    for (int i = 0; i < 3; ++i)
        f.sim->tick();
    const std::vector<Square> expected{{3, 1}, {3, 2}, {1, 1}, {1, 2}, {2, 1}, {2, 2}};
    EXPECT_EQ(expected, f.updatedSquares());
    EXPECT_EQ((std::vector<std::string>{"Running 1 of 3.", "Running 2 of 3.", "Running 3 of 3."}),
              std::vector<std::string>(f.host.displayCaptions.end() - 3, f.host.displayCaptions.end()));
}

TEST(update_test, slowdown_five_updates_eight_squares_a_pass_on_fifty_rows) {
    RunningWorld f(2, 50, 5);
    f.sim->tick();
    EXPECT_EQ(8u, f.updatedSquares().size());
    int ticks = 1;
    while (f.world.stepColumn == 0) {
        f.sim->tick();
        ++ticks;
    }
    EXPECT_EQ(7, ticks); // rows 0..50 of column 0: 6 x 8 + 3
}

TEST(update_test, a_dead_world_resets_at_the_end_of_the_generation_after_it_was_seen_dead) {
    RunningWorld f(2, 2);
    f.sim->tick();
    f.sim->tick(); // generation 1 ends lifeless
    EXPECT_EQ(1, f.world.deathCount);
    EXPECT_EQ((std::vector<bool>{false}), f.host.generationsEnded);
    f.sim->tick();
    f.sim->tick(); // generation 2 ends: the dead world is reset without asking
    EXPECT_EQ((std::vector<bool>{false, true}), f.host.generationsEnded);
    EXPECT_EQ(bx::PhaseCreate, f.world.phase);
    EXPECT_EQ(0, f.world.deathCount); // -1 after handling, then this lifeless generation counts
    EXPECT_EQ(0, f.world.generation);
    EXPECT_TRUE(f.host.questions.empty());
    EXPECT_TRUE(f.world.running);
}

TEST(update_test, dead_world_question_answered_no_changes_nothing_and_is_not_asked_again) {
    RunningWorld f(2, 2);
    f.options.promptOnDeath = true;
    f.host.defaultAnswer = bx::Answer::No;
    for (int i = 0; i < 8; ++i)
        f.sim->tick();
    ASSERT_EQ(1u, f.host.questions.size());
    const bx::Question& q = f.host.questions.front();
    EXPECT_EQ("Reset simulation?", q.title);
    EXPECT_EQ("The world seems to be dead.\nNo life was seen last update\nDo you want to reset the simulation?", q.text);
    EXPECT_EQ(bx::MessageIcon::Information, q.icon);
    EXPECT_EQ(10001, q.helpContext);
    EXPECT_EQ(bx::PhaseRun, f.world.phase);
    EXPECT_EQ(4, f.world.generation);
    EXPECT_EQ(4, f.world.deathCount);
}

TEST(update_test, a_dead_world_in_full_screen_is_seeded_again_over_the_old_grids) {
    RunningWorld f(2, 2);
    f.world.fullScreen = true;
    f.world.fullScreenSquareSize = 10;
    f.world.envGrid.set(1, 1, {0, 0, 0}); // written but black: no life, and must survive the restart
    for (int i = 0; i < 4; ++i)
        f.sim->tick();
    EXPECT_EQ(bx::PhaseCreate, f.world.phase);
    EXPECT_EQ(2, f.world.generation); // restart keeps the counters
    EXPECT_TRUE(f.world.envGrid.written(1, 1, 0));
    EXPECT_EQ(0, f.host.saveDialogs);
}

TEST(update_test, counters_show_the_finished_generation_and_clear_for_the_next) {
    RunningWorld f(2, 2);
    // With every draw 0 this organism neither decays nor grows, and its own defence equals its strength.
    f.world.orgGrid.set(1, 1, {0, 0, 1});
    f.sim->tick();
    f.sim->tick();
    EXPECT_EQ(1, f.host.shownGeneration);
    EXPECT_EQ(1, f.host.shownOrganisms);
    EXPECT_EQ(0, f.host.shownEnvironments);
    EXPECT_EQ(0, f.world.organismCount);
    EXPECT_EQ(0, f.world.deathCount);
}

TEST(update_test, each_pass_reseeds_and_the_read_out_follows_the_mouse_after_the_tick) {
    RunningWorld f(2, 2);
    const int before = f.scripted.reseeds();
    f.world.mouseX = 9;
    f.world.mouseY = 0;
    f.sim->tick();
    EXPECT_EQ(before + 1, f.scripted.reseeds());
    EXPECT_EQ(2, f.host.lastReadout.column);
    EXPECT_EQ(1, f.host.lastReadout.row);
    f.world.trackMouse = false;
    const int shown = f.host.readoutsShown;
    f.sim->tick();
    EXPECT_EQ(shown, f.host.readoutsShown);
}

// Hands out a generator stream's numbers one at a time, through the plain interface only.
class PlainSource final : public bx::RandomSource {
public:
    explicit PlainSource(bx::RandomGenerator::Stream s) : stream_(s) {}
    float peekNext() { return bx::RandomGenerator::Stream(stream_).next(); }

protected:
    std::size_t produce(float* out, std::size_t) override {
        *out = stream_.next();
        return 1;
    }
    void reseedSource() override {}

private:
    bx::RandomGenerator::Stream stream_;
};

// The update draws the attack roll ahead on a generator stream and decides without branches;
// any other source is asked only for the numbers the rules use. Both must give the same worlds
// and use up the same numbers.
TEST(update_test, the_streams_branch_free_update_gives_the_worlds_of_the_plain_one) {
    for (int variant = 0; variant < 3; ++variant) {
        bx::test::SimFixture f(std::make_unique<bx::RandomGenerator>(41 + variant));
        bx::SimulationOptions& o = f.options;
        o.gridSizeX = 23;
        o.gridSizeY = 17;
        o.environmentStartMode = bx::StartFull;
        o.fullOrganisms = variant != 1;
        o.startOrganisms = 40;
        o.mutationFrequency = variant == 2 ? 4 : 50;
        o.asteroidFrequency = variant == 2 ? 3 : 200;
        o.blendOnOvertake = variant != 1;
        o.decayRate = variant == 1 ? 0 : 3;
        o.growthRate = variant == 2 ? 9 : 2;
        f.world.simulationShown = false;
        f.sim->reset();
        f.tickWhile(bx::PhaseCreate);

        const bx::RuleParams p = bx::ruleParamsOf(o, f.world.envGrid, f.world.orgGrid);
        bx::Grid env[2] = {f.world.envGrid, f.world.envGrid}, org[2] = {f.world.orgGrid, f.world.orgGrid};
        int32_t envCount[2] = {}, orgCount[2] = {}, roll[2] = {};
        bx::RandomGenerator::Stream fast = bx::RandomGenerator(7 + variant).stream();
        PlainSource plain(fast);
        for (int sweep = 0; sweep < 40; ++sweep)
            for (int x = 1; x <= o.gridSizeX; ++x)
                for (int y = 1; y <= o.gridSizeY; ++y) {
                    bx::updateSquareLayers(env[0], org[0], x, y, envCount[0], orgCount[0], p, fast, roll[0]);
                    bx::updateSquareLayers(env[1], org[1], x, y, envCount[1], orgCount[1], p, plain, roll[1]);
                }
        EXPECT_EQ(env[0], env[1]) << "variant " << variant;
        EXPECT_EQ(org[0], org[1]) << "variant " << variant;
        EXPECT_EQ(envCount[0], envCount[1]) << "variant " << variant;
        EXPECT_EQ(orgCount[0], orgCount[1]) << "variant " << variant;
        EXPECT_EQ(roll[0], roll[1]) << "variant " << variant;
        EXPECT_EQ(fast.next(), plain.peekNext()) << "variant " << variant;
        EXPECT_NE(env[0], f.world.envGrid) << "variant " << variant;
    }
}

} // namespace

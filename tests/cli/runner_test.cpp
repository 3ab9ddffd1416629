#include "cli/runner.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <vector>

#include "engine/simulation.h"
#include "options/optionfields.h"
#include "options/profilefile.h"
#include "options/profileload.h"
#include "support/driverprobe.h"

namespace bx::cli {
namespace {

struct RunOutcome {
    WorldState world;
    std::vector<GenerationStats> stats;
    RunSummary summary;
};

SimulationOptions optionsWith(std::initializer_list<std::pair<const char*, const char*>> settings) {
    SimulationOptions options;
    setDefaultOptions(options, simulatorMajorVersion, simulatorMinorVersion, "/nonexistent/bramblex.hlp");
    for (const auto& [name, value] : settings)
        EXPECT_EQ(std::nullopt, setOptionFromText(options, name, value));
    return options;
}

RunOutcome runSeeded(SimulationOptions options, uint64_t seed, int64_t generations) {
    RunOutcome run;
    RandomGenerator rng(seed);
    run.summary = runWorld(
        options, run.world, rng, generations, [&run](const GenerationStats& s) { run.stats.push_back(s); },
        true);
    return run;
}

TEST(runner_test, the_same_seed_and_options_give_the_same_world_bit_for_bit) {
    const SimulationOptions options =
        optionsWith({{"gridSizeX", "30"}, {"gridSizeY", "20"}, {"asteroidFrequency", "50"}});
    const RunOutcome a = runSeeded(options, 7, 40);
    const RunOutcome b = runSeeded(options, 7, 40);
    EXPECT_TRUE(a.world.orgGrid == b.world.orgGrid);
    EXPECT_TRUE(a.world.envGrid == b.world.envGrid);
    EXPECT_EQ(a.stats, b.stats);
}

TEST(runner_test, another_seed_gives_another_world) {
    const SimulationOptions options = optionsWith({});
    EXPECT_FALSE(runSeeded(options, 1, 3).world.envGrid == runSeeded(options, 2, 3).world.envGrid);
}

// Organisms without environments on a tiny world die out within a few generations, so these
// runs reset dead worlds again and again.
TEST(runner_test, generations_count_on_across_resets_of_dead_worlds) {
    const SimulationOptions options = optionsWith({{"environmentStartMode", "4"},
                                                   {"decayRate", "255"},
                                                   {"gridSizeX", "5"},
                                                   {"gridSizeY", "4"},
                                                   {"startOrganisms", "1"},
                                                   {"asteroidsOn", "false"},
                                                   {"mutationsOn", "false"}});
    int64_t resets = 0;
    for (uint64_t seed = 1; seed <= 5; ++seed) {
        const RunOutcome run = runSeeded(options, seed, 30);
        EXPECT_EQ(30, run.summary.generations);
        ASSERT_EQ(30u, run.stats.size());
        int64_t resetRows = 0;
        for (std::size_t i = 0; i < run.stats.size(); ++i) {
            EXPECT_EQ(static_cast<int64_t>(i) + 1, run.stats[i].generation);
            resetRows += run.stats[i].reset ? 1 : 0;
        }
        EXPECT_EQ(resetRows, run.summary.resets);
        resets += resetRows;
    }
    EXPECT_GT(resets, 0) << "no world died: these options no longer make dying worlds";
}

TEST(runner_test, zero_generations_stop_when_the_world_is_created) {
    const RunOutcome run = runSeeded(optionsWith({{"startOrganisms", "25"}}), 3, 0);
    EXPECT_EQ(0, run.summary.generations);
    EXPECT_TRUE(run.stats.empty());
    EXPECT_EQ(Phase::Run, run.world.phase);
    EXPECT_EQ(0, run.world.generation);
    int organisms = 0;
    for (int c = 1; c <= 50; ++c)
        for (int r = 1; r <= 50; ++r)
            organisms += run.world.orgGrid.at(c, r).present() ? 1 : 0;
    EXPECT_GT(organisms, 0);

    // The first sweep has not begun.
    SimulationOptions options = optionsWith({});
    WorldState world;
    RandomGenerator rng(3);
    RunnerHost host(options, world, {}, false);
    NullCanvas canvas;
    Simulation sim(options, world, rng, host, canvas);
    startWorld(sim, host, {});
    runGenerations(sim, host, 0, {});
    const auto& driver = bx::test::DriverProbe::of(sim);
    EXPECT_EQ((std::array{0, 0}), (std::array{driver.stepColumn, driver.stepRow}));
}

// The simulator loads a profile, redraws it and, once started, runs on; the runner continuing the
// same profile with the same generator must take the very same course.
TEST(runner_test, a_continued_profile_runs_on_as_in_the_simulator) {
    const std::string path =
        (std::filesystem::path(::testing::TempDir()) / "bramblex_runner_continued.bx2").string();
    const SimulationOptions made =
        optionsWith({{"gridSizeX", "12"}, {"gridSizeY", "9"}, {"asteroidFrequency", "30"}});
    const RunOutcome saved = runSeeded(made, 5, 4);
    ASSERT_EQ("", writeProfile(path, made, saved.world));

    SimulationOptions options = optionsWith({});
    WorldState world;
    RandomGenerator rng(8);
    NullHost host;
    NullCanvas canvas;
    Simulation sim(options, world, rng, host, canvas);
    std::string error;
    ASSERT_EQ(ProfileLoad::Loaded, readProfile(path, sim, error)) << error;
    while (world.phase == Phase::Draw)
        sim.tick();
    sim.startStop();
    while (world.generation < saved.world.generation + 3)
        sim.tick();

    SimulationOptions runnerOptions = optionsWith({});
    WorldState runnerWorld;
    RandomGenerator runnerRng(8);
    runWorld(runnerOptions, runnerWorld, runnerRng, 3, {}, false, RunStart{path, {}, {}, {}});
    std::filesystem::remove(path);
    EXPECT_EQ(world.generation, runnerWorld.generation);
    EXPECT_TRUE(world.envGrid == runnerWorld.envGrid);
    EXPECT_TRUE(world.orgGrid == runnerWorld.orgGrid);
}

// A continued world runs in the grid of the options it runs with, whatever size the profile held
// (--set after --profile): the saved squares are kept where the two overlap, the rest is empty, and
// every sweep stays inside (the sanitizer build checks each read).
TEST(runner_test, a_continued_profile_runs_in_the_grid_its_final_options_give) {
    struct Case {
        int savedX, savedY, runX, runY;
    };
    const std::string path =
        (std::filesystem::path(::testing::TempDir()) / "bramblex_runner_fitted.bx2").string();
    for (const Case c :
         {Case{6, 4, 100, 4}, Case{1, 1, 1, 1}, Case{1, 1, 3, 2}, Case{6, 4, 2, 9}, Case{1, 6, 1, 6}}) {
        const SimulationOptions made = optionsWith({{"gridSizeX", std::to_string(c.savedX).c_str()},
                                                    {"gridSizeY", std::to_string(c.savedY).c_str()}});
        const RunOutcome saved = runSeeded(made, 5, 3);
        ASSERT_EQ("", writeProfile(path, made, saved.world));
        RunStart start;
        start.profilePath = path;
        start.adjustOptions = [&c](SimulationOptions& o) {
            o.gridSizeX = c.runX;
            o.gridSizeY = c.runY;
        };
        for (const int64_t generations : {0, 60}) {
            SimulationOptions options = optionsWith({});
            WorldState world;
            RandomGenerator rng(1);
            const RunSummary summary = runWorld(options, world, rng, generations, {}, false, start);
            const std::string name = std::to_string(c.savedX) + "x" + std::to_string(c.savedY) + " run as " +
                                     std::to_string(c.runX) + "x" + std::to_string(c.runY);
            EXPECT_EQ(generations, summary.generations) << name;
            for (const Grid* g : {&world.envGrid, &world.orgGrid})
                EXPECT_EQ((std::pair{c.runX, c.runY}), (std::pair{g->sizeX(), g->sizeY()})) << name;
            if (generations == 0) {
                EXPECT_EQ(saved.world.envGrid.at(1, 1), world.envGrid.at(1, 1)) << name;
            }
        }
    }
    std::filesystem::remove(path);
}

// A row counts each square of the world as it stands when the generation ends, once: the engine's
// counters, which add up during the sweep, hold half a generation in a profile saved half-way, and
// a new world's first sweep passes its last column by.
TEST(runner_test, a_row_counts_the_squares_of_the_world_as_its_generation_ended) {
    const std::string path =
        (std::filesystem::path(::testing::TempDir()) / "bramblex_runner_halfway.bx2").string();
    SimulationOptions options = optionsWith({{"gridSizeX", "12"}, {"gridSizeY", "9"}});
    WorldState world;
    RandomGenerator rng(5);
    NullHost host;
    NullCanvas canvas;
    Simulation sim(options, world, rng, host, canvas);
    sim.startHeadless();
    sim.reset();
    while (world.generation < 3 || bx::test::DriverProbe::of(sim).stepColumn != 6)
        sim.tick();
    ASSERT_EQ("", writeProfile(path, options, world));
    for (const std::optional<std::string>& profile : {std::optional<std::string>(), std::optional(path)}) {
        SimulationOptions runOptions = options;
        WorldState runWorldState;
        RandomGenerator runRng(9);
        std::vector<GenerationStats> rows;
        runWorld(
            runOptions, runWorldState, runRng, 4,
            [&](const GenerationStats& s) {
                rows.push_back(s);
                EXPECT_EQ(summarizeLayer(runWorldState.orgGrid, 12, 9).present, s.organisms) << s.generation;
                EXPECT_EQ(summarizeLayer(runWorldState.envGrid, 12, 9).present, s.environments)
                    << s.generation;
            },
            false, RunStart{profile, {}, {}, {}});
        ASSERT_EQ(4u, rows.size());
        EXPECT_EQ(profile ? 4 : 1, rows.front().generation);
    }
    std::filesystem::remove(path);
}

// The end of a generation shows its counts, then a dead world's reset shows zeros, and only
// then does generationEnded come: the row must carry the finished generation's values.
TEST(runner_test, a_reset_row_keeps_the_counts_and_colours_of_the_generation_that_ended) {
    SimulationOptions options = optionsWith({{"gridSizeX", "2"}, {"gridSizeY", "1"}});
    WorldState world;
    world.orgGrid = Grid(2, 1);
    world.envGrid = Grid(2, 1);
    world.orgGrid.set(1, 1, {10, 20, 30});
    world.envGrid.set(2, 1, {1, 2, 3});
    std::vector<GenerationStats> rows;
    RunnerHost host(
        options, world, [&rows](const GenerationStats& s) { rows.push_back(s); }, true);

    host.showCounters(4, 7, 9);
    world.orgGrid = Grid(2, 1); // the reset empties the world and shows zeros
    world.envGrid = Grid(2, 1);
    host.showCounters(0, 0, 0);
    host.generationEnded(true);

    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(1, rows[0].generation);
    EXPECT_EQ(1, rows[0].organisms); // the squares, not the counters shown
    EXPECT_EQ(1, rows[0].environments);
    EXPECT_EQ((Rgb{10, 20, 30}), rows[0].organismMean);
    EXPECT_EQ((Rgb{1, 2, 3}), rows[0].environmentMean);
    EXPECT_TRUE(rows[0].reset);
    EXPECT_EQ(1, host.resets());
}

} // namespace
} // namespace bx::cli

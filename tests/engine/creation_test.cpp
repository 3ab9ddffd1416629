#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "support/printers.h"
#include "support/simfixture.h"

namespace {

using bx::test::PrintTo;

using bx::Grid;
using bx::Rgb;

const Rgb red{255, 0, 0}, blue{0, 0, 255}, yellow{255, 255, 0}, white{255, 255, 255}, black{0, 0, 0};

// A freshly reset world of the given size and start counts, created slice by slice.
struct Creation : bx::test::SimFixture {
    Creation(int sizeX, int sizeY, int organisms, int environments) {
        options.gridSizeX = sizeX;
        options.gridSizeY = sizeY;
        options.startOrganisms = organisms;
        options.startEnvironments = environments;
    }
    // Runs creation slices until the phase leaves creation; returns how many ran.
    int createAll() { return sim->createWorld(); }
    std::vector<std::string> creationCaptions(const std::vector<std::string>& captions) const {
        std::vector<std::string> out;
        for (const auto& c : captions)
            if (c.rfind("Creating world, ", 0) == 0)
                out.push_back(c);
        return out;
    }
    // Every square of the grid, column 0 and row 0 included, in column order.
    std::vector<Rgb> squares(const Grid& g) const {
        std::vector<Rgb> out;
        for (int c = 0; c <= g.sizeX(); ++c)
            for (int r = 0; r <= g.sizeY(); ++r)
                out.push_back(g.at(c, r));
        return out;
    }
};

TEST(creation_test, default_world_takes_ten_slices_reseeding_each_and_counts_1_3_to_19_of_20) {
    Creation f(50, 50, 10, 10);
    f.scripted.fillWith(0.5f);
    f.sim->reset();
    const int reseedsBefore = f.scripted.reseeds();
    EXPECT_EQ(10, f.createAll());
    EXPECT_EQ(10, f.scripted.reseeds() - reseedsBefore);
    std::vector<std::string> expected;
    for (int n = 1; n <= 19; n += 2)
        expected.push_back("Creating world, " + std::to_string(n) + " of 20.");
    EXPECT_EQ(expected, f.creationCaptions(f.host.displayCaptions));
    EXPECT_TRUE(f.creationCaptions(f.host.mainCaptions).empty());
}

struct CaptionCase {
    const char* name;
    int environmentStartMode;
    bool fullOrganisms;
    std::vector<std::string> captions;
};

class creation_caption : public testing::TestWithParam<CaptionCase> {};

// Two organisms and three environments on a 6 x 6 world.
TEST_P(creation_caption, counts_what_the_modes_place_one_by_one) {
    const CaptionCase& c = GetParam();
    Creation f(6, 6, 2, 3);
    f.options.environmentStartMode = c.environmentStartMode;
    f.options.fullOrganisms = c.fullOrganisms;
    f.scripted.fillWith(0.5f);
    f.sim->reset();
    f.createAll();
    EXPECT_EQ(c.captions, f.creationCaptions(f.host.displayCaptions));
}

INSTANTIATE_TEST_SUITE_P(creation_test, creation_caption,
                         testing::Values(CaptionCase{"random_seeds_and_organisms",
                                                     bx::StartRandom,
                                                     false,
                                                     {"Creating world, 1 of 5.", "Creating world, 3 of 5.",
                                                      "Creating world, 5 of 5."}},
                                         CaptionCase{"random_seeds_full_organisms",
                                                     bx::StartRandom,
                                                     true,
                                                     {"Creating world, 1 of 3.", "Creating world, 2 of 3.",
                                                      "Creating world, 3 of 3."}},
                                         CaptionCase{"ideal_with_organisms",
                                                     bx::StartIdeal,
                                                     false,
                                                     {"Creating world, 1 of 2.", "Creating world, 2 of 2."}},
                                         CaptionCase{"ideal_full_organisms", bx::StartIdeal, true, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(creation_test, caption_goes_to_the_main_window_when_hidden_and_nowhere_in_full_screen) {
    Creation hidden(6, 6, 1, 1), full(6, 6, 1, 1);
    hidden.world.simulationShown = false;
    full.world.fullScreen = true;
    for (Creation* f : {&hidden, &full}) {
        f->scripted.fillWith(0.5f);
        f->sim->reset();
        f->createAll();
        EXPECT_TRUE(f->creationCaptions(f->host.displayCaptions).empty());
    }
    EXPECT_EQ(std::vector<std::string>{"Creating world, 1 of 2."},
              hidden.creationCaptions(hidden.host.mainCaptions));
    EXPECT_TRUE(full.creationCaptions(full.host.mainCaptions).empty());
}

TEST(creation_test, zero_start_counts_finish_in_the_first_slice_with_empty_grids_and_no_draw) {
    Creation f(5, 4, 0, 0);
    f.sim->reset(); // the empty script throws on any draw
    EXPECT_EQ(1, f.createAll());
    EXPECT_EQ(bx::Phase::Draw, f.world.phase);
    EXPECT_EQ(Grid(5, 4), f.world.envGrid);
    EXPECT_EQ(Grid(5, 4), f.world.orgGrid);
}

TEST(creation_test, whole_grid_fills_need_a_start_count_above_zero) {
    Creation f(5, 4, 0, 0);
    f.options.environmentStartMode = bx::StartFull;
    f.options.fullOrganisms = true;
    f.sim->reset();
    f.createAll();
    EXPECT_EQ(Grid(5, 4), f.world.envGrid);
    EXPECT_EQ(Grid(5, 4), f.world.orgGrid);
}

struct FillCase {
    const char* name;
    int environmentStartMode;
    Rgb colour;
};

class uniform_fill : public testing::TestWithParam<FillCase> {};

TEST_P(uniform_fill, covers_every_square_including_column_0_and_row_0_in_one_slice) {
    Creation f(4, 3, 0, 7);
    f.options.environmentStartMode = GetParam().environmentStartMode;
    f.sim->reset();
    EXPECT_EQ(1, f.createAll());
    EXPECT_EQ(std::vector<Rgb>(20, GetParam().colour), f.squares(f.world.envGrid));
    EXPECT_TRUE(f.world.envGrid.written(0, 0, 2)); // black is stored, not left empty
    EXPECT_EQ(Grid(4, 3), f.world.orgGrid);
}

INSTANTIATE_TEST_SUITE_P(creation_test, uniform_fill,
                         testing::Values(FillCase{"ideal_white", bx::StartIdeal, white},
                                         FillCase{"none_black", bx::StartNone, black}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(creation_test, full_fill_with_random_colours_draws_red_green_blue_square_by_square_in_column_order) {
    Creation f(2, 1, 0, 1);
    f.options.environmentStartMode = bx::StartFull;
    std::vector<Rgb> expected;
    for (int square = 0; square < 6; ++square) {
        float u[3];
        for (int ch = 0; ch < 3; ++ch) {
            u[ch] = float(square * 3 + ch + 1) / 32.0f;
            f.scripted.push(u[ch]);
        }
        expected.push_back({u[0] * 255.0f, u[1] * 255.0f, u[2] * 255.0f});
    }
    f.sim->reset();
    EXPECT_EQ(1, f.createAll());
    EXPECT_EQ(expected, f.squares(f.world.envGrid));
    EXPECT_EQ(0u, f.scripted.remaining());
}

TEST(creation_test,
     choose_cycles_the_six_user_colours_of_each_grid_and_continues_from_environments_to_organisms) {
    Creation f(1, 1, 5, 5);
    f.options.environmentStartMode = bx::StartFull;
    f.options.fullOrganisms = true;
    f.options.environmentColourMode = f.options.organismColourMode = bx::ColourChoose;
    std::vector<Rgb> env, org;
    for (int k = 0; k < 6; ++k) {
        f.options.envUserColour[k] = {k + 1, 0, 10 * k};
        f.options.orgUserColour[k] = {0, 100 + k, 1};
        env.push_back({double(k + 1), 0, double(10 * k)});
        org.push_back({0, double(100 + k), 1});
    }
    f.sim->reset();
    EXPECT_EQ(1, f.createAll());
    EXPECT_EQ((std::vector<Rgb>{env[0], env[1], env[2], env[3]}), f.squares(f.world.envGrid));
    EXPECT_EQ((std::vector<Rgb>{org[4], org[5], org[0], org[1]}), f.squares(f.world.orgGrid));
    EXPECT_EQ(2, f.driver().colourCycle);
}

TEST(creation_test, primary_colours_alternate_between_seed_and_organism_and_continue_into_the_next_world) {
    Creation f(10, 10, 2, 2);
    f.options.environmentColourMode = f.options.organismColourMode = bx::ColourPrimary;
    f.options.environmentStartDecay = 0;
    // Positions only: environment column, row, organism column, row. 9 U + 1: 0 -> 1, 0.5 -> 5.5 -> 6.
    f.scripted.push({0, 0, 0, 0, 0.5f, 0.5f, 0.5f, 0.5f, 0, 0, 0, 0});
    f.sim->reset();
    EXPECT_EQ(2, f.createAll());
    EXPECT_EQ(red, f.world.envGrid.at(1, 1));
    EXPECT_EQ(blue, f.world.orgGrid.at(1, 1));
    EXPECT_EQ(yellow, f.world.envGrid.at(6, 6));
    EXPECT_EQ(red, f.world.orgGrid.at(6, 6));

    f.sim->reset();
    f.sim->tick(); // one creation slice
    EXPECT_EQ(blue, f.world.envGrid.at(1, 1));
    EXPECT_EQ(yellow, f.world.orgGrid.at(1, 1));
    EXPECT_EQ(0u, f.scripted.remaining());
}

TEST(creation_test, random_seed_draws_column_row_then_colour_and_the_organism_after_it) {
    Creation f(8, 8, 1, 1);
    f.options.environmentStartDecay = 0;
    // Seed at 7 U + 1 = (1, 8) coloured 0.25, 0.5, 0.75; organism at (8, 1) coloured 1/8, 3/8, 5/8.
    f.scripted.push({0, 0.99999994f, 0.25f, 0.5f, 0.75f, 0.99999994f, 0, 0.125f, 0.375f, 0.625f});
    f.sim->reset();
    EXPECT_EQ(1, f.createAll());
    EXPECT_EQ((Rgb{63.75, 127.5, 191.25}), f.world.envGrid.at(1, 8));
    EXPECT_EQ((Rgb{31.875, 95.625, 159.375}), f.world.orgGrid.at(8, 1));
    EXPECT_FALSE(f.world.envGrid.written(8, 1, 0));
    EXPECT_FALSE(f.world.orgGrid.written(1, 8, 0));
}

TEST(creation_test, seed_rings_follow_the_start_decay_and_blending_and_let_events_run_once_per_ring) {
    Creation f(10, 10, 0, 1);
    f.options.environmentColourMode = bx::ColourPrimary;
    f.options.environmentStartDecay = 100;
    f.options.environmentBlending = false;
    f.scripted.push({4.0f / 9.0f, 4.0f / 9.0f}); // 9 U + 1 = 5
    f.sim->reset();
    const int eventsBefore = f.host.eventsProcessed;
    f.createAll();
    EXPECT_EQ(3, f.host.eventsProcessed - eventsBefore);
    EXPECT_EQ(red, f.world.envGrid.at(5, 5));
    EXPECT_EQ((Rgb{155, 0, 0}), f.world.envGrid.at(4, 6));
    EXPECT_EQ((Rgb{55, 0, 0}), f.world.envGrid.at(7, 3));
    EXPECT_EQ(black, f.world.envGrid.at(8, 5));
}

TEST(creation_test, finishing_shows_the_start_counts_then_clears_them_and_starts_drawing) {
    Creation f(6, 6, 3, 2);
    f.options.environmentStartDecay = 0;
    f.scripted.fillWith(0.5f);
    f.sim->reset();
    EXPECT_FALSE(f.host.creationCommandsEnabled);
    f.createAll();
    EXPECT_EQ(0, f.host.shownGeneration);
    EXPECT_EQ(3, f.host.shownOrganisms);
    EXPECT_EQ(2, f.host.shownEnvironments);
    EXPECT_EQ(f.options.mainTitle, f.host.mainCaption);
    EXPECT_EQ(bx::Phase::Draw, f.world.phase);
    EXPECT_EQ(1, f.driver().drawColumn);
    EXPECT_EQ(1, f.driver().drawRow);
    EXPECT_TRUE(f.host.timerEnabled);
    EXPECT_TRUE(f.host.creationCommandsEnabled);
    EXPECT_EQ(0, f.world.generation);
    EXPECT_EQ(0, f.world.organismCount);
    EXPECT_EQ(0, f.world.environmentCount);
    EXPECT_EQ(0, f.driver().stepColumn);
    EXPECT_EQ(0, f.driver().stepRow);
    EXPECT_EQ(0, f.host.saveDialogs);
}

struct PhaseCase {
    const char* name;
    bool shown, running;
    bx::Phase phase;
};

class phase_after_creation : public testing::TestWithParam<PhaseCase> {};

TEST_P(phase_after_creation, skips_drawing_only_when_hidden_and_running) {
    Creation f(3, 3, 0, 0);
    f.world.simulationShown = GetParam().shown;
    f.world.running = GetParam().running;
    f.sim->reset();
    f.createAll();
    EXPECT_EQ(GetParam().phase, f.world.phase);
    EXPECT_TRUE(f.host.timerEnabled);
}

INSTANTIATE_TEST_SUITE_P(creation_test, phase_after_creation,
                         testing::Values(PhaseCase{"shown_stopped", true, false, bx::Phase::Draw},
                                         PhaseCase{"shown_running", true, true, bx::Phase::Draw},
                                         PhaseCase{"hidden_stopped", false, false, bx::Phase::Draw},
                                         PhaseCase{"hidden_running", false, true, bx::Phase::Run}),
                         [](const auto& info) { return std::string(info.param.name); });

// Remembers the counters the world holds when the profile is saved.
class SavingHost : public bx::test::RecordingHost {
public:
    explicit SavingHost(const bx::WorldState& world) : world_(world) {}
    void worldCreated(bool saveRequested) override {
        RecordingHost::worldCreated(saveRequested);
        if (!saveRequested)
            return;
        savedCounts.push_back({world_.organismCount, world_.environmentCount});
        savedWithCommandsEnabled = creationCommandsEnabled;
    }
    std::vector<std::pair<int32_t, int32_t>> savedCounts;
    bool savedWithCommandsEnabled = true;

private:
    const bx::WorldState& world_;
};

TEST(creation_test, save_after_create_saves_once_with_the_start_counts_and_clears_the_flag) {
    bx::SimulationOptions options;
    bx::WorldState world;
    bx::setDefaultOptions(options, 2, 1, "help");
    options.gridSizeX = options.gridSizeY = 5;
    options.startOrganisms = 4;
    options.startEnvironments = 0;
    bx::test::ScriptedRandom rng;
    rng.fillWith(0.5f);
    SavingHost host(world);
    bx::test::RecordingCanvas canvas;
    bx::Simulation sim(options, world, rng, host, canvas);
    sim.resetAndSave();
    sim.createWorld();
    EXPECT_FALSE(bx::test::DriverProbe::of(sim).saveAfterCreate);
    EXPECT_EQ((std::vector<std::pair<int32_t, int32_t>>{{4, 0}}), host.savedCounts);
    EXPECT_FALSE(host.savedWithCommandsEnabled); // the commands come back after the save

    sim.reset();
    sim.createWorld();
    EXPECT_EQ(1, host.saveDialogs);
}

} // namespace

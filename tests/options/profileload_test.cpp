#include "options/profileload.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "options/profilefile.h"
#include "profilecorpus.h"
#include "profiletesting.h"

namespace bx {
namespace {

using namespace test;

TEST(profileload_test, loading_replaces_stored_options_counters_and_grids_and_keeps_the_rest) {
    TempFolder folder;
    TestSim saved(20, [](SimulationOptions& o) {
        o.gridSizeX = 9;
        o.gridSizeY = 7;
        o.promptOnAccept = false;
        o.slowdown = 3;
    });
    saved.create();
    saved.runGenerations(2);
    const fs::path file = folder / "saved.bx2";
    ASSERT_EQ("", writeProfile(file.string(), saved.options, saved.world));

    TestSim t(21, [](SimulationOptions& o) {
        o.environmentColourMode = ColourChoose;
        o.blendOnOvertake = false;
    });
    t.create();
    t.world.squareSize = 2;
    const int layoutsBefore = t.host.layouts;
    std::string error = "stale";
    ASSERT_EQ(ProfileLoad::Loaded, readProfile(file.string(), t.sim, error));
    EXPECT_EQ("", error);
    EXPECT_TRUE(t.host.questions.empty());

    SimulationOptions expected = saved.options;
    expected.environmentColourMode = ColourChoose;
    expected.blendOnOvertake = false;
    expected.helpFilePath = "help";
    EXPECT_EQ(expected, t.options);
    EXPECT_EQ(2, t.world.squareSize);
    EXPECT_EQ(saved.world.generation, t.world.generation);
    EXPECT_EQ(saved.world.organismCount, t.world.organismCount);
    EXPECT_EQ(saved.world.environmentCount, t.world.environmentCount);
    EXPECT_TRUE(sameBits(saved.world.envGrid, t.world.envGrid));
    EXPECT_TRUE(sameBits(saved.world.orgGrid, t.world.orgGrid));
    // Cursors at 1, then the redraw restarts drawing.
    const auto& d = t.driver();
    EXPECT_EQ((std::array{1, 1, 1, 1, 1, 1}),
              (std::array{d.squareX, d.squareY, d.stepColumn, d.stepRow, d.drawColumn, d.drawRow}));
    EXPECT_EQ(Phase::Draw, t.world.phase);
    EXPECT_EQ(layoutsBefore + 1, t.host.layouts);
    EXPECT_EQ(saved.world.generation, t.host.shownGeneration);
}

fs::path olderVersionProfile(const TempFolder& folder, const TestSim& from) {
    SimulationOptions older = from.options;
    older.versionString = "2.0";
    const fs::path file = folder / "older.bx2";
    EXPECT_EQ("", writeProfile(file.string(), older, from.world));
    return file;
}

TEST(profileload_test, profile_of_another_version_asks_and_loads_on_yes) {
    TempFolder folder;
    TestSim saved(30, [](SimulationOptions& o) { o.gridSizeX = o.gridSizeY = 5; });
    saved.create();
    const fs::path file = olderVersionProfile(folder, saved);

    TestSim t(31);
    t.create();
    t.host.answers = {Answer::Yes};
    std::string error;
    EXPECT_EQ(ProfileLoad::Loaded, readProfile(file.string(), t.sim, error));
    ASSERT_EQ(1u, t.host.questions.size());
    const Question& q = t.host.questions[0];
    EXPECT_EQ("Reset Simulation?", q.title);
    EXPECT_EQ(
        "This profile was saved with a different\rversion of Bramblex: 2.0\rLoading may cause unexpected "
        "results.\rDo you wish to load the file?",
        q.text);
    EXPECT_EQ(MessageIcon::Exclamation, q.icon);
    EXPECT_EQ(DefaultButton::Yes, q.defaultButton);
    EXPECT_EQ(help::profileVersion, q.helpContext);
    EXPECT_EQ("help", q.helpFile);
    EXPECT_EQ(5, t.options.gridSizeX);
    EXPECT_EQ("2.1", t.options.versionString);
    EXPECT_TRUE(sameBits(saved.world.envGrid, t.world.envGrid));
}

TEST(profileload_test, profile_of_another_version_declined_changes_nothing) {
    TempFolder folder;
    TestSim saved(32, [](SimulationOptions& o) { o.gridSizeX = o.gridSizeY = 5; });
    saved.create();
    const fs::path file = olderVersionProfile(folder, saved);

    TestSim t(33);
    t.create();
    t.runGenerations(1);
    const Snapshot before(t);
    t.host.answers = {Answer::No};
    std::string error;
    EXPECT_EQ(ProfileLoad::Declined, readProfile(file.string(), t.sim, error));
    EXPECT_EQ("", error);
    EXPECT_EQ(1u, t.host.questions.size());
    EXPECT_TRUE(before == Snapshot(t));
}

TEST(profileload_test, every_good_corpus_file_loads) {
    int files = 0;
    for (const auto& e : fs::directory_iterator(profileData / "good")) {
        TestSim t(40);
        t.create();
        std::string error;
        EXPECT_EQ(ProfileLoad::Loaded, readProfile(e.path().string(), t.sim, error)) << error;
        ++files;
    }
    EXPECT_GE(files, 5);
}

// The corpus as its table makes it; with BRAMBLEX_REGENERATE_CORPUS=1 the table writes it.
TEST(profileload_test, corpus_files_are_two_by_two_with_the_edits_of_their_rows) {
    const std::string base = readText(profileData / "good/two-by-two.bx2");
    const bool regenerate = std::getenv("BRAMBLEX_REGENERATE_CORPUS") != nullptr;
    std::set<std::string> listed = {"good/two-by-two.bx2"}, found;
    for (const CorpusProfile& c : corpusProfiles()) {
        listed.insert(c.name);
        if (regenerate)
            writeText(profileData / c.name, corpusText(c, base));
        EXPECT_EQ(corpusText(c, base), readText(profileData / c.name)) << c.name;
    }
    for (const auto& e : fs::recursive_directory_iterator(profileData))
        if (e.is_regular_file())
            found.insert(fs::relative(e.path(), profileData).string());
    EXPECT_EQ(listed, found);
}

TEST(profileload_test, every_broken_corpus_file_fails_naming_file_and_line_and_changes_nothing) {
    TestSim t(41);
    t.create();
    t.runGenerations(1);
    const Snapshot before(t);
    int files = 0;
    for (const CorpusProfile& c : corpusProfiles()) {
        if (!c.name.starts_with("broken/"))
            continue;
        const std::string path = (profileData / c.name).string();
        const int line = c.messageLine != 0 ? c.messageLine : c.edits.at(0).at.line;
        std::string error;
        EXPECT_EQ(ProfileLoad::Failed, readProfile(path, t.sim, error)) << c.name;
        EXPECT_EQ(0u, error.rfind(path + ", line " + std::to_string(line) + ": expected ", 0)) << error;
        EXPECT_TRUE(before == Snapshot(t)) << c.name;
        EXPECT_TRUE(t.host.questions.empty()) << c.name;
        ++files;
    }
    EXPECT_GE(files, 30);
}

// Only the first 100 x 100 squares are ever used: they are kept, the rest is checked and dropped.
TEST(profileload_test, grid_above_100_loads_its_first_100_by_100_and_the_options_are_clamped) {
    SimulationOptions wide;
    WorldState world;
    setDefaultOptions(wide, simulatorMajorVersion, simulatorMinorVersion, "help");
    wide.gridSizeX = 150;
    wide.gridSizeY = 120;
    world.envGrid = Grid(150, 120);
    world.orgGrid = Grid(150, 120);
    world.envGrid.set(100, 100, {1.25, 2, 3});
    world.envGrid.set(150, 120, {4, 5, 6});
    world.orgGrid.setChannel(99, 7, 1, 0.5);
    TempFolder folder;
    const fs::path file = folder / "wide.bx2";
    ASSERT_EQ("", writeProfile(file.string(), wide, world));

    TestSim t(50);
    t.create();
    std::string error;
    ASSERT_EQ(ProfileLoad::Loaded, readProfile(file.string(), t.sim, error)) << error;
    EXPECT_EQ(100, t.options.gridSizeX);
    EXPECT_EQ(100, t.options.gridSizeY);
    EXPECT_EQ(100, t.world.envGrid.sizeX());
    EXPECT_EQ(100, t.world.orgGrid.sizeY());
    EXPECT_EQ((Rgb{1.25, 2, 3}), t.world.envGrid.at(100, 100));
    EXPECT_EQ(0.5, t.world.orgGrid.channel(99, 7, 1));
    EXPECT_FALSE(t.world.orgGrid.written(100, 100, 0));

    std::string text = readText(file);
    text.replace(text.rfind("4,5,6,,,"), 8, "4,5,x,,,"); // square (150,120): never kept, checked all the same
    std::ofstream(file, std::ios::binary) << text;
    EXPECT_EQ(ProfileLoad::Failed, readProfile(file.string(), t.sim, error));
    EXPECT_NE(std::string::npos, error.find("square (150,120)")) << error;
}

TEST(profileload_test, load_during_world_creation_replaces_the_world_being_created) {
    TempFolder folder;
    TestSim saved(60, [](SimulationOptions& o) { o.gridSizeX = o.gridSizeY = 6; });
    saved.create();
    const fs::path file = folder / "small.bx2";
    ASSERT_EQ("", writeProfile(file.string(), saved.options, saved.world));

    TestSim t(61);
    t.sim.reset();
    t.sim.tick(); // creation under way
    ASSERT_EQ(Phase::Create, t.world.phase);
    std::string error;
    ASSERT_EQ(ProfileLoad::Loaded, readProfile(file.string(), t.sim, error)) << error;
    EXPECT_EQ(Phase::Draw, t.world.phase);
    EXPECT_TRUE(t.host.creationCommandsEnabled);
    for (int i = 0; i < 1000 && t.world.phase != Phase::Idle; ++i)
        t.sim.tick();
    EXPECT_TRUE(sameBits(saved.world.envGrid, t.world.envGrid));
    EXPECT_TRUE(sameBits(saved.world.orgGrid, t.world.orgGrid));
}

TEST(profileload_test, missing_file_fails_with_a_message_naming_it) {
    TestSim t(70);
    t.create();
    const Snapshot before(t);
    const std::string path = (profileData / "no-such-profile.bx2").string();
    std::string error;
    EXPECT_EQ(ProfileLoad::Failed, readProfile(path, t.sim, error));
    EXPECT_NE(std::string::npos, error.find(path)) << error;
    EXPECT_TRUE(before == Snapshot(t));
}

} // namespace
} // namespace bx

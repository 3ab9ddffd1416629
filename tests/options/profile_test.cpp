#include "options/profile.h"
#include "options/profilefile.h"
#include "options/profileload.h"

#include <array>
#include <bit>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "engine/random.h"
#include "options/profilenumber.h"
#include "support/recordinghost.h"

namespace bx::fuzz {
std::string profileContractBroken(std::string_view input); // fuzz/profile_fuzz.cpp
}

namespace bx {
namespace {

namespace fs = std::filesystem;

const fs::path profileData = fs::path(BRAMBLEX_TEST_DATA) / "profiles";

// A simulator with a recording host, built from the default options and then changed by configure.
struct TestSim {
    SimulationOptions options;
    WorldState world;
    RandomGenerator rng;
    test::RecordingHost host;
    test::RecordingCanvas canvas;
    Simulation sim{options, world, rng, host, canvas};

    explicit TestSim(uint64_t seed, const std::function<void(SimulationOptions&)>& configure = {})
        : rng(seed) {
        setDefaultOptions(options, world, simulatorMajorVersion, simulatorMinorVersion, "help");
        if (configure)
            configure(options);
    }
    // Resets and ticks until the world is created.
    void create() {
        sim.reset();
        for (int i = 0; i < 100000 && world.phase == PhaseCreate; ++i)
            sim.tick();
        ASSERT_NE(PhaseCreate, world.phase);
    }
    void runGenerations(int32_t count) {
        sim.startStop();
        for (int i = 0; i < 1000000 && world.generation < count; ++i)
            sim.tick();
        ASSERT_GE(world.generation, count);
    }
};

// A scratch folder of its own for every test.
class TempFolder {
public:
    TempFolder() {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        path_ = fs::temp_directory_path() /
                ("bramblex-profile-" + std::string(info->name()) + "-" + std::to_string(::getpid()));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    fs::path operator/(const std::string& name) const { return path_ / name; }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(path_))
            out.push_back(e.path().filename().string());
        return out;
    }

private:
    fs::path path_;
};

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The lines of a profile, split at CR LF.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(text.size(), start) << "text after the last CR LF";
    return lines;
}

::testing::AssertionResult sameBits(const Grid& expected, const Grid& actual) {
    if (expected.sizeX() != actual.sizeX() || expected.sizeY() != actual.sizeY())
        return ::testing::AssertionFailure() << "grid sizes differ";
    for (int x = 0; x <= expected.sizeX(); ++x)
        for (int y = 0; y <= expected.sizeY(); ++y)
            for (int ch = 0; ch < 3; ++ch) {
                // Column 0 and row 0 are not stored.
                const bool stored = x > 0 && y > 0;
                const bool wasWritten = stored && expected.written(x, y, ch);
                const uint64_t want = wasWritten ? std::bit_cast<uint64_t>(expected.channel(x, y, ch)) : 0;
                if (actual.written(x, y, ch) != wasWritten ||
                    std::bit_cast<uint64_t>(actual.channel(x, y, ch)) != want)
                    return ::testing::AssertionFailure()
                           << "cell (" << x << "," << y << "," << ch << ") differs";
            }
    return ::testing::AssertionSuccess();
}

// What a failed or declined load must leave as it was.
struct Snapshot {
    SimulationOptions options;
    int32_t counters[3];
    Grid envGrid, orgGrid;
    int cursors[6];
    int phase;
    int layouts;

    explicit Snapshot(const TestSim& t)
        : options(t.options), counters{t.world.organismCount, t.world.environmentCount, t.world.generation},
          envGrid(t.world.envGrid),
          orgGrid(t.world.orgGrid), cursors{t.world.squareX, t.world.squareY,    t.world.stepColumn,
                                            t.world.stepRow, t.world.drawColumn, t.world.drawRow},
          phase(t.world.phase), layouts(t.host.layouts) {}
    bool operator==(const Snapshot&) const = default;
};

bool hasValueNeedingMoreThanSevenDigits(const Grid& g) {
    for (int x = 1; x <= g.sizeX(); ++x)
        for (int y = 1; y <= g.sizeY(); ++y)
            for (int ch = 0; ch < 3; ++ch)
                if (g.written(x, y, ch) && formatProfileNumber(g.channel(x, y, ch)).size() > 8)
                    return true;
    return false;
}

TEST(profile_test, fifty_by_fifty_world_gives_2529_lines_with_square_2_1_on_line_77) {
    TestSim t(1);
    t.create();
    const std::vector<std::string> lines = linesOf(profileText(t.options, t.world));
    ASSERT_EQ(2529u, lines.size());

    const std::vector<std::string> head = {"\"Bramblex 2 Configuration File\"",
                                           "\"\"",
                                           "\"Be careful if editing, unexpected results\"",
                                           "\"or crashes may occur.\"",
                                           "\"\"",
                                           "\"-----------------------------------------\"",
                                           "\"2.1\"",
                                           "\"\""};
    EXPECT_EQ(head, std::vector<std::string>(lines.begin(), lines.begin() + 8));
    EXPECT_EQ(",10,10", lines[15]);
    EXPECT_EQ("50,50,1", lines[16]);
    EXPECT_EQ("#TRUE#,#TRUE#,1000000", lines[21]);
    const std::vector<std::string> closing = {"\"\"", "\"-----------------------------------------\"",
                                              "\"\""};
    EXPECT_EQ(closing, std::vector<std::string>(lines.begin() + 23, lines.begin() + 26));
    EXPECT_EQ(closing, std::vector<std::string>(lines.end() - 3, lines.end()));

    std::string square21;
    for (const Grid* g : {&t.world.envGrid, &t.world.orgGrid})
        for (int ch = 0; ch < 3; ++ch) {
            if (g->written(2, 1, ch))
                square21 += formatProfileNumber(g->channel(2, 1, ch));
            square21 += ',';
        }
    square21.pop_back();
    EXPECT_EQ(square21, lines[76]);
}

TEST(profile_test, one_by_one_world_gives_30_lines) {
    TestSim t(2, [](SimulationOptions& o) { o.gridSizeX = o.gridSizeY = 1; });
    t.create();
    EXPECT_EQ(30u, linesOf(profileText(t.options, t.world)).size());
}

TEST(profile_test, line_16_begins_with_a_comma_and_user_colours_spread_over_lines_9_to_14) {
    TestSim t(3);
    t.options.startOrganisms = 1234;
    t.options.startEnvironments = 56;
    for (int k = 0; k < 6; ++k) {
        t.options.orgUserColour[k] = {k + 1, k + 11, k + 21};
        t.options.envUserColour[k] = {k + 31, k + 41, k + 51};
    }
    const std::vector<std::string> lines = linesOf(profileText(t.options, t.world));
    EXPECT_EQ(",1234,56", lines[15]);
    const std::vector<std::string> colours = {"11,12,13,14,15,16", "51,52,53,54,55,56", "1,2,3,4,5,6",
                                              "41,42,43,44,45,46", "21,22,23,24,25,26", "31,32,33,34,35,36"};
    EXPECT_EQ(colours, std::vector<std::string>(lines.begin() + 8, lines.begin() + 14));
}

TEST(profile_test, fresh_world_writes_never_set_organism_cells_as_empty_items_and_keeps_them_empty) {
    TestSim t(4);
    t.create();
    const std::string text = profileText(t.options, t.world);
    int emptyOrganisms = 0;
    for (const std::string& line : linesOf(text))
        emptyOrganisms += line.size() >= 3 && line.ends_with(",,,") ? 1 : 0;
    EXPECT_GE(emptyOrganisms, 2490);

    std::string error;
    const std::optional<Profile> p = parseProfileText(text, "fresh.bx2", error);
    ASSERT_TRUE(p) << error;
    EXPECT_TRUE(sameBits(t.world.orgGrid, p->orgGrid));
    EXPECT_TRUE(sameBits(t.world.envGrid, p->envGrid));
}

TEST(profile_test, worlds_made_by_the_engine_round_trip_bit_for_bit) {
    const struct {
        const char* name;
        uint64_t seed;
        int generations;
        std::function<void(SimulationOptions&)> configure;
    } rows[] = {
        {"fresh random world", 10, 0, {}},
        {"blended full world", 11, 4,
         [](SimulationOptions& o) {
             o.fullOrganisms = true;
             o.environmentStartMode = StartFull;
             o.gridSizeX = 30;
             o.gridSizeY = 20;
         }},
        {"many generations, primary colours", 12, 40,
         [](SimulationOptions& o) {
             o.organismColourMode = ColourPrimary;
             o.gridSizeX = 12;
             o.gridSizeY = 17;
             o.mutationFrequency = 50;
             o.asteroidFrequency = 20;
         }},
        {"one square", 13, 3, [](SimulationOptions& o) { o.gridSizeX = o.gridSizeY = 1; }},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TestSim t(row.seed, row.configure);
        t.create();
        if (row.generations > 0)
            t.runGenerations(row.generations);
        if (row.generations >= 4) { // blends and growth steps must have made long fractions
            EXPECT_TRUE(hasValueNeedingMoreThanSevenDigits(t.world.envGrid) ||
                        hasValueNeedingMoreThanSevenDigits(t.world.orgGrid));
        }

        const fs::path file = folder / "world.bx2";
        ASSERT_EQ("", writeProfile(file.string(), t.options, t.world));
        std::string error;
        const std::optional<Profile> p = parseProfile(file.string(), error);
        ASSERT_TRUE(p) << error;
        EXPECT_EQ(t.options.versionString, p->version);
        SimulationOptions expected = t.options;
        expected.environmentColourMode = p->options.environmentColourMode;
        expected.blendOnOvertake = p->options.blendOnOvertake;
        expected.versionString = expected.mainTitle = expected.displayTitle = expected.helpFilePath = "";
        EXPECT_EQ(expected, p->options);
        EXPECT_EQ(t.world.organismCount, p->organismCount);
        EXPECT_EQ(t.world.environmentCount, p->environmentCount);
        EXPECT_EQ(t.world.generation, p->generation);
        EXPECT_TRUE(sameBits(t.world.envGrid, p->envGrid));
        EXPECT_TRUE(sameBits(t.world.orgGrid, p->orgGrid));
    }
}

TEST(profile_test, loading_replaces_stored_options_counters_and_grids_and_keeps_the_rest) {
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
    EXPECT_EQ((std::array{1, 1, 1, 1, 1, 1}),
              (std::array{t.world.squareX, t.world.squareY, t.world.stepColumn, t.world.stepRow,
                          t.world.drawColumn, t.world.drawRow}));
    EXPECT_EQ(PhaseDraw, t.world.phase);
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

TEST(profile_test, profile_of_another_version_asks_and_loads_on_yes) {
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

TEST(profile_test, profile_of_another_version_declined_changes_nothing) {
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

TEST(profile_test, hand_written_profile_fills_every_field_from_its_place) {
    std::string error;
    const std::optional<Profile> p = parseProfile((profileData / "good/two-by-two.bx2").string(), error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ("2.1", p->version);
    SimulationOptions expected;
    expected.orgUserColour = {UserColour{255, 0, 0}, {0, 0, 255}, {0, 255, 0},
                              {255, 255, 0},         {255, 0, 0}, {7, 128, 9}};
    expected.envUserColour = {
        UserColour{200, 1, 10}, {100, 2, 20}, {50, 3, 30}, {25, 4, 40}, {12, 5, 50}, {6, 6, 60}};
    expected.slowdown = -2;
    expected.fullOrganisms = false;
    expected.organismColourMode = 3;
    expected.startOrganisms = 25;
    expected.startEnvironments = 40;
    expected.gridSizeX = expected.gridSizeY = 2;
    expected.environmentStartMode = 1;
    expected.environmentBlending = true;
    expected.environmentStartDecay = 10;
    expected.decayRate = 3;
    expected.growthRate = 2;
    expected.promptOnDeath = expected.promptOnSave = false;
    expected.promptOnReset = expected.promptOnDefaults = expected.promptOnAccept = true;
    expected.mutationsOn = true;
    expected.asteroidsOn = false;
    expected.mutationFrequency = 1000000;
    expected.asteroidFrequency = 5000;
    EXPECT_EQ(expected, p->options);
    EXPECT_EQ((std::array{3, 4, 17}), (std::array{p->organismCount, p->environmentCount, p->generation}));

    EXPECT_EQ((Rgb{255, 127.5, 0.5}), p->envGrid.at(1, 1));
    EXPECT_FALSE(p->orgGrid.written(1, 1, 0));
    EXPECT_FALSE(p->envGrid.written(1, 2, 2));
    EXPECT_EQ((Rgb{255, 255, 255}), p->orgGrid.at(1, 2));
    EXPECT_TRUE(p->envGrid.written(2, 1, 0)); // 0 is a value, not an empty cell
    EXPECT_EQ((Rgb{31.48116, 1e-5, 1.5e-7}), p->orgGrid.at(2, 1));
    EXPECT_TRUE(p->envGrid.written(2, 2, 0));
    EXPECT_FALSE(p->envGrid.written(2, 2, 1));
    EXPECT_TRUE(p->envGrid.written(2, 2, 2));
}

TEST(profile_test, lf_only_reads_like_the_full_crlf_file) {
    std::string error;
    const std::optional<Profile> crlf = parseProfile((profileData / "good/two-by-two.bx2").string(), error);
    ASSERT_TRUE(crlf) << error;
    for (const char* name : {"good/two-by-two-lf-only.bx2"}) {
        const std::optional<Profile> p = parseProfile((profileData / name).string(), error);
        ASSERT_TRUE(p) << error;
        EXPECT_EQ(crlf->options, p->options) << name;
        EXPECT_TRUE(sameBits(crlf->envGrid, p->envGrid)) << name;
        EXPECT_TRUE(sameBits(crlf->orgGrid, p->orgGrid)) << name;
    }
}

// A file cut short anywhere, even in its last square or its closing lines, is refused: no cut of a
// small profile loads, and the message names a line.
TEST(profile_test, a_profile_cut_at_any_byte_is_refused_naming_a_line) {
    for (const char* name : {"good/two-by-two.bx2", "good/two-by-two-lf-only.bx2"}) {
        const std::string text = readText(profileData / name);
        std::string error;
        ASSERT_TRUE(parseProfileText(text, "p", error)) << error;
        for (std::size_t cut = 0; cut < text.size(); ++cut) {
            EXPECT_FALSE(parseProfileText(text.substr(0, cut), "p", error)) << name << " cut at " << cut;
            EXPECT_EQ(0u, error.rfind("p, line ", 0)) << error;
        }
    }
}

TEST(profile_test, seven_digit_exponent_and_padded_values_read_as_written) {
    std::string error;
    const std::optional<Profile> p =
        parseProfile((profileData / "good/seven-digit-and-exponent-values.bx2").string(), error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ((Rgb{0.1234567, 31.48116, 254.9999}), p->envGrid.at(1, 1));
    EXPECT_EQ((Rgb{1e-5, 0.5, 1.5e-7}), p->orgGrid.at(1, 1));
    EXPECT_EQ((Rgb{1.5e-6, 1e-5, 250}), p->envGrid.at(1, 2));
    EXPECT_EQ((Rgb{0.001, 7, 1}), p->orgGrid.at(1, 2));
    EXPECT_EQ((Rgb{12, 3, 0}), p->envGrid.at(2, 1));
    EXPECT_EQ((Rgb{0.25, 1.5e-7, 255}), p->orgGrid.at(2, 1));
    EXPECT_EQ((Rgb{9, 8, 7}), p->envGrid.at(2, 2));
    EXPECT_FALSE(p->orgGrid.written(2, 2, 0) || p->orgGrid.written(2, 2, 1) || p->orgGrid.written(2, 2, 2));
}

TEST(profile_test, negative_zero_items_load_as_written_zeros) {
    // The update leaves a component alone by taking zero off it, which would turn a stored
    // negative zero into a positive one without counting as a write.
    TempFolder folder;
    const fs::path file = folder / "minus-zero.bx2";
    std::string text = readText(profileData / "good/two-by-two.bx2");
    const std::string row = "0,0,0,31.48116,1E-05,1.5E-07\r\n";
    ASSERT_NE(std::string::npos, text.find(row));
    text.replace(text.find(row), row.size(), "-0,0,-0.0,31.48116,1E-05,1.5E-07\r\n");
    writeText(file, text);
    std::string error;
    const std::optional<Profile> p = parseProfile(file.string(), error);
    ASSERT_TRUE(p) << error;
    for (const double v : {p->envGrid.at(2, 1).red, p->envGrid.at(2, 1).blue}) {
        EXPECT_EQ(0.0, v);
        EXPECT_FALSE(std::signbit(v));
    }
    EXPECT_TRUE(p->envGrid.written(2, 1, 0) && p->envGrid.written(2, 1, 2));
}

TEST(profile_test, every_good_corpus_file_loads) {
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

// Broken files are named after the line their message must point at ("line17-....bx2").
TEST(profile_test, every_broken_corpus_file_fails_naming_file_and_line_and_changes_nothing) {
    TestSim t(41);
    t.create();
    t.runGenerations(1);
    const Snapshot before(t);
    int files = 0;
    for (const auto& e : fs::directory_iterator(profileData / "broken")) {
        const std::string name = e.path().filename().string();
        std::smatch m;
        ASSERT_TRUE(std::regex_search(name, m, std::regex("^line0*([0-9]+)-"))) << name;
        std::string error;
        EXPECT_EQ(ProfileLoad::Failed, readProfile(e.path().string(), t.sim, error)) << name;
        const std::string prefix = e.path().string() + ", line " + m[1].str() + ": expected ";
        EXPECT_EQ(0u, error.rfind(prefix, 0)) << error;
        EXPECT_TRUE(before == Snapshot(t)) << name;
        EXPECT_TRUE(t.host.questions.empty()) << name;
        ++files;
    }
    EXPECT_GE(files, 30);
}

TEST(profile_test, every_corpus_file_keeps_the_reader_contract) {
    int files = 0;
    for (const auto& e : fs::recursive_directory_iterator(profileData)) {
        if (!e.is_regular_file())
            continue;
        EXPECT_EQ("", fuzz::profileContractBroken(readText(e.path()))) << e.path();
        ++files;
    }
    EXPECT_GE(files, 35);
}

// Only the first 100 x 100 squares are ever used: they are kept, the rest is checked and dropped.
TEST(profile_test, grid_above_100_loads_its_first_100_by_100_and_the_options_are_clamped) {
    SimulationOptions wide;
    WorldState world;
    setDefaultOptions(wide, world, simulatorMajorVersion, simulatorMinorVersion, "help");
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

TEST(profile_test, load_during_world_creation_replaces_the_world_being_created) {
    TempFolder folder;
    TestSim saved(60, [](SimulationOptions& o) { o.gridSizeX = o.gridSizeY = 6; });
    saved.create();
    const fs::path file = folder / "small.bx2";
    ASSERT_EQ("", writeProfile(file.string(), saved.options, saved.world));

    TestSim t(61);
    t.sim.reset();
    t.sim.tick(); // creation under way
    ASSERT_EQ(PhaseCreate, t.world.phase);
    std::string error;
    ASSERT_EQ(ProfileLoad::Loaded, readProfile(file.string(), t.sim, error)) << error;
    EXPECT_EQ(PhaseDraw, t.world.phase);
    EXPECT_TRUE(t.host.creationCommandsEnabled);
    for (int i = 0; i < 1000 && t.world.phase != PhaseIdle; ++i)
        t.sim.tick();
    EXPECT_TRUE(sameBits(saved.world.envGrid, t.world.envGrid));
    EXPECT_TRUE(sameBits(saved.world.orgGrid, t.world.orgGrid));
}

TEST(profile_test, missing_file_fails_with_a_message_naming_it) {
    TestSim t(70);
    t.create();
    const Snapshot before(t);
    const std::string path = (profileData / "no-such-profile.bx2").string();
    std::string error;
    EXPECT_EQ(ProfileLoad::Failed, readProfile(path, t.sim, error));
    EXPECT_NE(std::string::npos, error.find(path)) << error;
    EXPECT_TRUE(before == Snapshot(t));
}

struct NotAFileCase {
    const char* name;
    std::function<fs::path(const TempFolder&)> make;
    const char* what;
};

class not_a_file : public testing::TestWithParam<NotAFileCase> {};

// Refused without waiting on a pipe that nothing writes or reading a device without end.
TEST_P(not_a_file, is_refused_at_once_naming_what_it_is) {
    TempFolder folder;
    const fs::path path = GetParam().make(folder);
    std::string error;
    EXPECT_FALSE(parseProfile(path.string(), error));
    EXPECT_EQ("Cannot read the profile \"" + path.string() + "\": " + GetParam().what, error);
}

INSTANTIATE_TEST_SUITE_P(profile_test, not_a_file,
                         testing::Values(NotAFileCase{"named_pipe",
                                                      [](const TempFolder& f) {
                                                          ::mkfifo((f / "pipe.bx2").c_str(), 0600);
                                                          return f / "pipe.bx2";
                                                      },
                                                      "it is a named pipe, not a file"},
                                         NotAFileCase{"device",
                                                      [](const TempFolder&) { return fs::path("/dev/zero"); },
                                                      "it is a device, not a file"},
                                         NotAFileCase{"folder",
                                                      [](const TempFolder& f) {
                                                          fs::create_directory(f / "folder.bx2");
                                                          return f / "folder.bx2";
                                                      },
                                                      "it is a folder"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(profile_test, messages_escape_what_is_not_utf8_and_name_lines_ending_in_cr_alone) {
    const std::string good = readText(profileData / "good/two-by-two.bx2");
    std::string error;
    std::string version = good;
    version.replace(version.find("\"2.1\""), 5, "\"2.\xff\x01\xc3\xa9\"");
    TestSim t(71);
    t.create();
    TempFolder folder;
    writeText(folder / "v.bx2", version);
    t.host.answers = {Answer::No};
    EXPECT_EQ(ProfileLoad::Declined, readProfile((folder / "v.bx2").string(), t.sim, error));
    EXPECT_NE(std::string::npos, t.host.questions.at(0).text.find("Bramblex: 2.\\xFF\\x01\xc3\xa9\r"))
        << t.host.questions[0].text;

    EXPECT_FALSE(parseProfileText(std::string(good).insert(good.find(",#"), "\xe2\x82"), "p", error));
    EXPECT_NE(std::string::npos, error.find("\\xE2\\x82")) << error;

    // The line-end hint only where the lines really end in CR alone.
    std::string crOnly = good, lfOnly = good;
    for (std::size_t at; (at = crOnly.find("\r\n")) != std::string::npos;)
        crOnly.erase(at + 1, 1);
    for (std::size_t at; (at = lfOnly.find("\r\n")) != std::string::npos;)
        lfOnly.erase(at, 1);
    const std::string longFirstLine = std::string(70000, 'x') + "\n";
    for (const auto& [text, hinted] : {std::pair{crOnly, true}, std::pair{lfOnly.substr(0, 400), false},
                                       std::pair{longFirstLine, false}}) {
        EXPECT_FALSE(parseProfileText(text, "p", error));
        EXPECT_EQ(hinted, error.find("lines end in a carriage return alone") != std::string::npos) << error;
    }
}

TEST(profile_test, writing_replaces_the_target_whole_and_leaves_no_temporary_file) {
    TempFolder folder;
    const fs::path file = folder / "p.bx2";
    writeText(file, std::string(100000, 'x'));
    ::chmod(file.c_str(), 0640);
    TestSim t(80, [](SimulationOptions& o) { o.gridSizeX = o.gridSizeY = 3; });
    t.create();
    ASSERT_EQ("", writeProfile(file.string(), t.options, t.world));
    EXPECT_EQ(profileText(t.options, t.world), readText(file));
    EXPECT_EQ(std::vector<std::string>{"p.bx2"}, folder.names());
    EXPECT_EQ(fs::perms(0640), fs::status(file).permissions());
}

TEST(profile_test, write_into_a_path_under_a_regular_file_fails_naming_the_file) {
    TempFolder folder;
    writeText(folder / "plain", "not a folder");
    const std::string path = (folder / "plain" / "p.bx2").string();
    TestSim t(90);
    const std::string error = writeProfile(path, t.options, t.world);
    EXPECT_NE(std::string::npos, error.find(path)) << error;
    EXPECT_EQ(std::vector<std::string>{"plain"}, folder.names());
}

// Tests run as root, so permissions cannot make a write fail; a file-size limit can, half-way.
TEST(profile_test, write_failing_half_way_leaves_the_old_file_untouched) {
    TempFolder folder;
    const fs::path file = folder / "old.bx2";
    writeText(file, "old profile");
    TestSim t(100);
    t.create();

    rlimit saved{};
    ASSERT_EQ(0, ::getrlimit(RLIMIT_FSIZE, &saved));
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(0, ::setrlimit(RLIMIT_FSIZE, &small));
    const std::string error = writeProfile(file.string(), t.options, t.world);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_NE(std::string::npos, error.find(file.string())) << error;
    EXPECT_EQ("old profile", readText(file));
    EXPECT_EQ(std::vector<std::string>{"old.bx2"}, folder.names());
}

TEST(profile_test, world_holding_a_value_that_is_not_a_number_is_not_written) {
    TempFolder folder;
    const fs::path file = folder / "old.bx2";
    writeText(file, "old profile");
    TestSim t(110, [](SimulationOptions& o) { o.gridSizeX = o.gridSizeY = 2; });
    t.create();
    t.world.envGrid.setChannel(2, 1, 1, std::nan(""));
    EXPECT_NE("", writeProfile(file.string(), t.options, t.world));
    EXPECT_EQ("old profile", readText(file));
}

} // namespace
} // namespace bx

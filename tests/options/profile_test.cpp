#include "options/profile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "options/profilefile.h"
#include "options/profileload.h"
#include "options/profilenumber.h"
#include "profilecorpus.h"
#include "profiletesting.h"

namespace bx::fuzz {
std::string profileContractBroken(std::string_view input); // fuzz/profile_fuzz.cpp
std::string profileTextOf(const Profile& p);
} // namespace bx::fuzz

namespace bx {
namespace {

using namespace test;

// The lines of a profile, split at CR LF.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(text.size(), start) << "text after the last CR LF";
    return lines;
}

bool hasValueNeedingMoreThanSevenDigits(const Grid& g) {
    for (int x = 1; x <= g.sizeX(); ++x)
        for (int y = 1; y <= g.sizeY(); ++y)
            for (int ch = 0; ch < 3; ++ch)
                if (g.written(x, y, ch) && formatProfileNumber(g.channel(x, y, ch)).size() > 8)
                    return true;
    return false;
}

TEST(profile_test, fifty_by_fifty_world_gives_the_layout_lines_with_a_line_per_square) {
    TestSim t(1);
    t.create();
    const std::vector<std::string> lines = linesOf(profileText(t.options, t.world));
    ASSERT_EQ(2529, profileLineCount(50, 50));
    ASSERT_EQ(2529u, lines.size());
    const auto at = [&lines](int line) { return lines.at(static_cast<std::size_t>(line - 1)); };
    const auto from = [&lines](int line) { return lines.begin() + (line - 1); };

    const std::vector<std::string> head = {"\"Bramblex 2 Configuration File\"",
                                           "\"\"",
                                           "\"Be careful if editing, unexpected results\"",
                                           "\"or crashes may occur.\"",
                                           "\"\"",
                                           "\"-----------------------------------------\"",
                                           "\"2.1\"",
                                           "\"\""};
    EXPECT_EQ(head, std::vector<std::string>(lines.begin(), from(profileLineOf(ProfileLineKind::Options))));
    EXPECT_EQ(",10,10", at(profileLineOf(ProfileItem::Empty)));
    EXPECT_EQ("50,50,1", at(optionItem("gridSizeX").line));
    EXPECT_EQ("#TRUE#,#TRUE#,1000000", at(optionItem("mutationsOn").line));
    const std::vector<std::string> closing = {"\"\"", "\"-----------------------------------------\"",
                                              "\"\""};
    const int squares = profileLineOf(ProfileLineKind::Squares);
    EXPECT_EQ(closing, std::vector<std::string>(from(squares - 3), from(squares)));
    EXPECT_EQ(closing, std::vector<std::string>(lines.end() - 3, lines.end()));

    std::string square21;
    for (const Grid* g : {&t.world.envGrid, &t.world.orgGrid})
        for (int ch = 0; ch < 3; ++ch) {
            if (g->written(2, 1, ch))
                square21 += formatProfileNumber(g->channel(2, 1, ch));
            square21 += ',';
        }
    square21.pop_back();
    EXPECT_EQ(square21, at(profileSquareLine(2, 1, 50)));
}

TEST(profile_test, one_by_one_world_gives_30_lines) {
    TestSim t(2, [](SimulationOptions& o) { o.gridSizeX = o.gridSizeY = 1; });
    t.create();
    EXPECT_EQ(30u, linesOf(profileText(t.options, t.world)).size());
    EXPECT_EQ(30, profileLineCount(1, 1));
}

TEST(profile_test, the_empty_item_leads_its_line_and_user_colours_fill_the_first_six_option_lines) {
    TestSim t(3);
    t.options.startOrganisms = 1234;
    t.options.startEnvironments = 56;
    for (int k = 0; k < 6; ++k) {
        t.options.orgUserColour[k] = {k + 1, k + 11, k + 21};
        t.options.envUserColour[k] = {k + 31, k + 41, k + 51};
    }
    const std::vector<std::string> lines = linesOf(profileText(t.options, t.world));
    EXPECT_EQ(",1234,56", lines.at(static_cast<std::size_t>(profileLineOf(ProfileItem::Empty) - 1)));
    const std::vector<std::string> colours = {"11,12,13,14,15,16", "51,52,53,54,55,56", "1,2,3,4,5,6",
                                              "41,42,43,44,45,46", "21,22,23,24,25,26", "31,32,33,34,35,36"};
    const auto first = lines.begin() + (profileLineOf(ProfileLineKind::Options) - 1);
    EXPECT_EQ(colours, std::vector<std::string>(first, first + 6));
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

// Each option line's items, the options' and the layout's own, stand at 1..n without a gap, and
// every option is stored on an option line.
TEST(profile_test, option_places_fill_the_option_lines_of_the_layout_without_a_gap) {
    std::vector<std::vector<int>> items(profileLayout.size());
    for (std::size_t row = 0; row < profileLayout.size(); ++row)
        for (std::size_t i = 0; i < 3; ++i)
            if (profileLayout[row].items[i] != ProfileItem::None)
                items[row].push_back(static_cast<int>(i) + 1);
    for (const OptionField& f : optionFields())
        for (const int line : f.place.lines)
            if (line != 0) {
                ASSERT_EQ(ProfileLineKind::Options, profileLayout.at(static_cast<std::size_t>(line - 1)).kind)
                    << f.name;
                items[static_cast<std::size_t>(line - 1)].push_back(f.place.item);
            }
    for (std::size_t row = 0; row < profileLayout.size(); ++row) {
        std::sort(items[row].begin(), items[row].end());
        for (std::size_t i = 0; i < items[row].size(); ++i)
            EXPECT_EQ(static_cast<int>(i) + 1, items[row][i]) << "line " << row + 1;
        EXPECT_EQ(profileLayout[row].kind == ProfileLineKind::Options, !items[row].empty())
            << "line " << row + 1;
    }
}

// Files in the writer's form read and write back byte for byte; LF alone comes back as CR LF.
TEST(profile_test, stored_profiles_write_back_byte_for_byte) {
    const fs::path data = profileData.parent_path();
    const std::pair<const char*, const char*> rows[] = {
        {"profiles/good/two-by-two.bx2", nullptr},
        {"profiles/good/one-by-one.bx2", nullptr},
        {"profiles/good/older-version.bx2", nullptr},
        {"golden/world.bx2", nullptr},
        {"profiles/good/two-by-two-lf-only.bx2", "profiles/good/two-by-two.bx2"},
    };
    for (const auto& [file, writtenBack] : rows) {
        std::string error;
        const std::optional<Profile> p = parseProfileText(readText(data / file), file, error);
        ASSERT_TRUE(p) << error;
        EXPECT_EQ(readText(data / (writtenBack ? writtenBack : file)), fuzz::profileTextOf(*p)) << file;
    }
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

// What parsing gives, as one text: the profile written back, or the message.
std::string outcomeOf(const std::optional<Profile>& p, const std::string& error) {
    return p ? fuzz::profileTextOf(*p) : "refused: " + error;
}

// Lines and line ends split between pieces anywhere: every corpus file reads the same in small
// pieces as in one.
TEST(profile_test, a_profile_given_in_pieces_of_any_size_reads_as_its_whole_text) {
    for (const auto& e : fs::recursive_directory_iterator(profileData)) {
        if (!e.is_regular_file())
            continue;
        const std::string text = readText(e.path());
        std::string error;
        const std::optional<Profile> whole = parseProfileText(text, "p", error);
        const std::string expected = outcomeOf(whole, error);
        for (const std::size_t size : {1, 2, 3, 7, 64}) {
            std::size_t given = 0;
            const ProfilePieces pieces = [&] {
                const std::string_view piece = std::string_view(text).substr(given, size);
                given += piece.size();
                return piece;
            };
            const std::optional<Profile> p = parseProfilePieces(pieces, "p", error);
            EXPECT_EQ(expected, outcomeOf(p, error)) << e.path() << " in pieces of " << size;
        }
    }
}

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

    // The line-end hint says what the lines end in, and that UTF-16 text is no profile.
    std::string crOnly = good, lfOnly = good, crCrLf = good, utf16le = "\xFF\xFE", utf16be;
    for (std::size_t at; (at = crOnly.find("\r\n")) != std::string::npos;)
        crOnly.erase(at + 1, 1);
    for (std::size_t at; (at = lfOnly.find("\r\n")) != std::string::npos;)
        lfOnly.erase(at, 1);
    for (std::size_t at = 0; (at = crCrLf.find("\r\n", at)) != std::string::npos; at += 3)
        crCrLf.insert(at, 1, '\r');
    for (const char c : good.substr(0, 400)) {
        utf16le += {c, '\0'};
        utf16be += {'\0', c};
    }
    const std::string crAlone = "lines end in a carriage return alone",
                      crCr = "two carriage returns and a line feed",
                      utf16 = "UTF-16 text, which is no profile", none;
    const std::string longFirstLine = std::string(70000, 'x') + "\n";
    for (const auto& [text, hint] :
         {std::pair{crOnly, crAlone}, std::pair{crCrLf, crCr}, std::pair{utf16le, utf16},
          std::pair{utf16be, utf16}, std::pair{lfOnly.substr(0, 400), none}, std::pair{longFirstLine, none},
          std::pair{std::string("xy\0\rz\n", 6), none}}) {
        EXPECT_FALSE(parseProfileText(text, "p", error));
        for (const std::string& any : {crAlone, crCr, utf16})
            EXPECT_EQ(any == hint, error.find(any) != std::string::npos) << error;
    }
}

} // namespace
} // namespace bx

#include "options/optionfields.h"
#include "options/profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

namespace bx {
namespace {

TEST(optionfields_test, every_option_of_the_record_is_listed_once) {
    const std::set<std::string_view> expected{"gridSizeX",
                                              "gridSizeY",
                                              "startOrganisms",
                                              "fullOrganisms",
                                              "startEnvironments",
                                              "environmentStartMode",
                                              "growthRate",
                                              "decayRate",
                                              "environmentStartDecay",
                                              "environmentBlending",
                                              "blendOnOvertake",
                                              "mutationsOn",
                                              "mutationFrequency",
                                              "asteroidsOn",
                                              "asteroidFrequency",
                                              "organismColourMode",
                                              "environmentColourMode",
                                              "orgUserColour1",
                                              "orgUserColour2",
                                              "orgUserColour3",
                                              "orgUserColour4",
                                              "orgUserColour5",
                                              "orgUserColour6",
                                              "envUserColour1",
                                              "envUserColour2",
                                              "envUserColour3",
                                              "envUserColour4",
                                              "envUserColour5",
                                              "envUserColour6",
                                              "promptOnReset",
                                              "promptOnDeath",
                                              "promptOnDefaults",
                                              "promptOnSave",
                                              "promptOnAccept",
                                              "slowdown"};
    std::set<std::string_view> listed;
    for (const OptionField& f : optionFields())
        EXPECT_TRUE(listed.insert(f.name).second) << f.name << " listed twice";
    EXPECT_EQ(expected, listed);
}

// A value other than the default for every option, within its range.
std::string otherValue(const OptionField& f, int salt) {
    switch (f.kind) {
    case OptionKind::Integer: {
        const int defaultValue = SimulationOptions{}.*f.integer;
        int v = f.minimum + salt % (f.maximum - f.minimum + 1);
        if (v == defaultValue)
            v = v == f.maximum ? f.minimum : v + 1;
        return std::to_string(v);
    }
    case OptionKind::Flag:
        return SimulationOptions{}.*f.flag ? "false" : "true";
    case OptionKind::Colour:
        return std::to_string(salt) + "," + std::to_string(salt + 1) + "," + std::to_string(salt + 2);
    }
    return {};
}

TEST(optionfields_test, every_option_keeps_its_own_value) {
    SimulationOptions options;
    std::vector<std::string> written;
    int salt = 1;
    for (const OptionField& f : optionFields()) {
        written.push_back(otherValue(f, salt++));
        ASSERT_EQ(std::nullopt, setOptionFromText(options, f, written.back())) << f.name;
        EXPECT_NE(SimulationOptions{}, options) << f.name << " changed nothing";
    }
    std::size_t i = 0;
    for (const OptionField& f : optionFields())
        EXPECT_EQ(written[i++], optionText(options, f)) << f.name;
}

// The value at one end of the option's range, as text.
std::string endValue(const OptionField& f, bool top) {
    const std::string end = std::to_string(top ? f.maximum : f.minimum);
    switch (f.kind) {
    case OptionKind::Integer:
        return end;
    case OptionKind::Flag:
        return top ? "true" : "false";
    case OptionKind::Colour:
        return end + "," + end + "," + end;
    }
    return {};
}

// The table against the profile writer and reader: each default lies in its range, and a profile
// gives back every option it stores, at both ends of its range, and the default for the others.
TEST(optionfields_test, stored_options_come_back_from_a_profile_at_both_ends_of_their_range) {
    const SimulationOptions defaults;
    for (const bool top : {false, true}) {
        SimulationOptions options;
        for (const OptionField& f : optionFields()) {
            SimulationOptions scratch;
            EXPECT_EQ(std::nullopt, setOptionFromText(scratch, f, optionText(defaults, f))) << f.name;
            ASSERT_EQ(std::nullopt, setOptionFromText(options, f, endValue(f, top))) << f.name;
        }
        std::string error;
        const std::optional<Profile> read =
            parseProfileText(profileText(options, WorldState{}), "table", error);
        ASSERT_TRUE(read) << error;
        for (const OptionField& f : optionFields())
            EXPECT_EQ(optionText(f.place.stored() ? options : defaults, f), optionText(read->options, f))
                << f.name << (top ? " at its maximum" : " at its minimum");
    }
}

TEST(optionfields_test, names_reach_the_fields_they_name) {
    struct Row {
        const char* name;
        const char* text;
        std::function<bool(const SimulationOptions&)> holds;
    };
    const Row rows[] = {
        {"gridSizeY", "77", [](const SimulationOptions& o) { return o.gridSizeY == 77; }},
        {"mutationFrequency", "100000000",
         [](const SimulationOptions& o) { return o.mutationFrequency == 100000000; }},
        {"asteroidFrequency", "0", [](const SimulationOptions& o) { return o.asteroidFrequency == 0; }},
        {"environmentColourMode", "3",
         [](const SimulationOptions& o) { return o.environmentColourMode == 3; }},
        {"slowdown", "-5", [](const SimulationOptions& o) { return o.slowdown == -5; }},
        {"fullOrganisms", "true", [](const SimulationOptions& o) { return o.fullOrganisms; }},
        {"promptOnAccept", "false", [](const SimulationOptions& o) { return !o.promptOnAccept; }},
        {"orgUserColour1", "1,2,3",
         [](const SimulationOptions& o) {
             return o.orgUserColour[0] == UserColour{1, 2, 3};
         }},
        {"orgUserColour3", "255,0,128",
         [](const SimulationOptions& o) {
             return o.orgUserColour[2] == UserColour{255, 0, 128};
         }},
        {"envUserColour6", "4,5,6",
         [](const SimulationOptions& o) {
             return o.envUserColour[5] == UserColour{4, 5, 6};
         }},
    };
    for (const Row& row : rows) {
        SimulationOptions options;
        ASSERT_EQ(std::nullopt, setOptionFromText(options, row.name, row.text)) << row.name;
        EXPECT_TRUE(row.holds(options)) << row.name;
    }
}

TEST(optionfields_test, range_ends_and_signs_are_accepted) {
    for (const char* text : {"1", "100", "+100"}) {
        SimulationOptions options;
        EXPECT_EQ(std::nullopt, setOptionFromText(options, "gridSizeX", text)) << text;
    }
    SimulationOptions options;
    EXPECT_EQ(std::nullopt, setOptionFromText(options, "envUserColour2", "0, 255 ,7"));
    EXPECT_EQ((UserColour{0, 255, 7}), options.envUserColour[1]);
}

TEST(optionfields_test, refusals_name_the_option_and_what_it_takes) {
    struct Row {
        const char* name;
        const char* text;
        const char* mentions; // besides the option's name
    };
    const Row rows[] = {
        {"gridSizeX", "0", "1..100"},
        {"gridSizeX", "101", "1..100"},
        {"gridSizeX", "+-5", "1..100"},
        {"gridSizeX", "", "1..100"},
        {"gridSizeX", "2.5", "1..100"},
        {"gridSizeX", "12abc", "1..100"},
        {"gridSizeX", " 12", "1..100"},
        {"startOrganisms", "99999999999999999999999", "1..2000"},
        {"slowdown", "-6", "-5..5"},
        {"asteroidFrequency", "100000001", "0..100000000"},
        {"mutationsOn", "maybe", "true or false"},
        {"mutationsOn", "1", "true or false"},
        {"mutationsOn", "True", "true or false"},
        {"orgUserColour3", "1,2", "R,G,B"},
        {"orgUserColour3", "1,2,3,4", "R,G,B"},
        {"orgUserColour3", "256,0,0", "0..255"},
        {"orgUserColour3", "0,-1,0", "0..255"},
        {"orgUserColour3", "1,,3", "R,G,B"},
    };
    for (const Row& row : rows) {
        SimulationOptions options;
        const std::optional<std::string> error = setOptionFromText(options, row.name, row.text);
        ASSERT_TRUE(error.has_value()) << row.name << "=" << row.text;
        EXPECT_NE(std::string::npos, error->find(row.name)) << *error;
        EXPECT_NE(std::string::npos, error->find(row.mentions)) << *error;
        EXPECT_EQ(SimulationOptions{}, options) << "a refused value changed the record: " << *error;
    }
}

TEST(optionfields_test, unknown_names_are_refused_by_name_with_a_hint_for_a_wrong_case) {
    SimulationOptions options;
    const std::optional<std::string> unknown = setOptionFromText(options, "gridSizeZ", "5");
    ASSERT_TRUE(unknown.has_value());
    EXPECT_NE(std::string::npos, unknown->find("gridSizeZ"));

    const std::optional<std::string> wrongCase = setOptionFromText(options, "gridsizex", "5");
    ASSERT_TRUE(wrongCase.has_value());
    EXPECT_NE(std::string::npos, wrongCase->find("did you mean gridSizeX"));
    EXPECT_EQ(SimulationOptions{}, options);
}

// Each row's control suits its kind and is named once; a member reaches its row.
TEST(optionfields_test, controls_suit_their_options_and_have_names_of_their_own) {
    std::set<std::string_view> names;
    for (const OptionField& f : optionFields()) {
        const OptionControl& c = f.control;
        EXPECT_TRUE(c.kind != ControlKind::CheckBox || f.kind == OptionKind::Flag) << f.name;
        EXPECT_TRUE(!c.hasNumberBox() || f.kind == OptionKind::Integer) << f.name;
        EXPECT_EQ(c.kind == ControlKind::CheckBox || c.hasNumberBox(), !c.objectName.empty()) << f.name;
        EXPECT_TRUE(c.sliderName.empty() || c.hasNumberBox()) << f.name;
        for (std::string_view name : {c.objectName, c.sliderName})
            EXPECT_TRUE(name.empty() || names.insert(name).second) << name << " named twice";
        const OptionField& reached = f.kind == OptionKind::Integer ? optionOf(f.integer)
                                     : f.kind == OptionKind::Flag  ? optionOf(f.flag)
                                                                   : f;
        EXPECT_EQ(&f, &reached) << f.name;
    }
}

// The help's pages of the options window write each number box's range and default on its line,
// as "(0 to 255, default 2)".
TEST(optionfields_test, the_help_gives_each_number_box_its_range_and_default) {
    std::ifstream file(BRAMBLEX_SOURCE_DIR "/help/bramblex.hlp");
    const std::string help{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const std::size_t from = help.find("@topic 121 "), to = help.find("@topic 125 ");
    ASSERT_TRUE(from != std::string::npos && to != std::string::npos);
    std::vector<std::string> lines;
    std::istringstream pages(help.substr(from, to - from));
    for (std::string line; std::getline(pages, line);)
        lines.push_back(line);
    const SimulationOptions defaults;
    for (const OptionField& f : optionFields()) {
        if (!f.control.hasNumberBox())
            continue;
        const std::string range = std::to_string(f.minimum) + " to " + std::to_string(f.maximum);
        const std::string initial = "default " + optionText(defaults, f);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                [&](const std::string& line) {
                                    return line.find(range) != std::string::npos &&
                                           line.find(initial) != std::string::npos;
                                }))
            << f.name << ": no line with " << range << " and " << initial;
    }
}

} // namespace
} // namespace bx

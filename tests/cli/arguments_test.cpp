#include "cli/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace bx::cli {
namespace {

RunConfig parse(std::vector<std::string> args) {
    return parseArguments(args);
}

TEST(arguments_test, every_switch_reaches_its_field_in_both_spellings) {
    const RunConfig config =
        parse({"--generations", "0", "--seed=18446744073709551615", "--set", "gridSizeX=100",
               "--set=orgUserColour3=255,0,128", "--stats", "-", "--png=out.png", "--square-size", "128"});
    EXPECT_EQ(0, config.generations);
    EXPECT_EQ(18446744073709551615ull, config.seed);
    const std::vector<OptionSetting> settings{{"gridSizeX", "100"}, {"orgUserColour3", "255,0,128"}};
    EXPECT_EQ(settings, config.settings);
    EXPECT_EQ("-", config.statsPath);
    EXPECT_EQ("out.png", config.pngPath);
    EXPECT_EQ(128, config.squareSize);
}

TEST(arguments_test, settings_keep_command_line_order_and_repeats) {
    const RunConfig config =
        parse({"--set", "growthRate=5", "--set", "decayRate=0", "--set", "growthRate=7"});
    const std::vector<OptionSetting> settings{{"growthRate", "5"}, {"decayRate", "0"}, {"growthRate", "7"}};
    EXPECT_EQ(settings, config.settings);
}

TEST(arguments_test, refused_values_throw_naming_the_switch) {
    const std::vector<std::vector<std::string>> rows{
        {"--generations", "-1"},
        {"--generations", "1e3"},
        {"--generations", "9223372036854775808"},
        {"--seed", "-1"},
        {"--seed", "18446744073709551616"},
        {"--square-size", "0"},
        {"--square-size", "129"},
        {"--stats", ""},
        {"--png", "-"},
        {"--help=yes"},
        {"--set", "=5"},
        {"--set", "gridSizeX"},
    };
    for (const auto& args : rows) {
        try {
            parseArguments(args);
            ADD_FAILURE() << args[0] << " " << (args.size() > 1 ? args[1] : "") << " was accepted";
        } catch (const ArgumentError& e) {
            const std::string switchName = args[0].substr(0, args[0].find('='));
            EXPECT_NE(std::string::npos, std::string(e.what()).find(switchName)) << e.what();
        }
    }
}

TEST(arguments_test, a_switch_is_not_taken_as_the_value_of_the_one_before) {
    try {
        parse({"--generations", "--seed", "5"});
        FAIL() << "accepted";
    } catch (const ArgumentError& e) {
        EXPECT_EQ("--generations needs a value (N)", std::string(e.what()));
    }
}

} // namespace
} // namespace bx::cli

#include "saver/commandline.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace bx {
namespace {

SaverCommand parse(std::vector<std::string> arguments, std::optional<std::string> host = std::nullopt) {
    return parseSaverCommand(arguments, host);
}

struct LetterCase {
    const char* name;
    std::vector<std::string> arguments;
    SaverLaunch launch;
    int64_t handle;
};

class SaverCommandLine : public ::testing::TestWithParam<LetterCase> {};

TEST_P(SaverCommandLine, letter_and_handle) {
    const LetterCase& c = GetParam();
    const SaverCommand command = parse(c.arguments);
    EXPECT_EQ(c.launch, command.launch);
    EXPECT_EQ(c.handle, command.handle);
}

INSTANTIATE_TEST_SUITE_P(
    saver, SaverCommandLine,
    ::testing::Values(LetterCase{"slash_s", {"/s"}, SaverLaunch::FullScreen, 0},
                      LetterCase{"slash_S", {"/S"}, SaverLaunch::FullScreen, 0},
                      LetterCase{"hyphen_s", {"-s"}, SaverLaunch::FullScreen, 0},
                      LetterCase{"lone_s", {"s"}, SaverLaunch::FullScreen, 0},
                      LetterCase{"slash_c", {"/c"}, SaverLaunch::Configure, 0},
                      LetterCase{"slash_C_colon_handle", {"/C:1234"}, SaverLaunch::Configure, 0},
                      LetterCase{"lone_c", {"c"}, SaverLaunch::Configure, 0},
                      LetterCase{"preview_blank_handle", {"/p", "1234"}, SaverLaunch::Preview, 1234},
                      LetterCase{"preview_one_argument", {"/p 1234"}, SaverLaunch::Preview, 1234},
                      LetterCase{"preview_colon_handle", {"/p:1234"}, SaverLaunch::Preview, 0},
                      LetterCase{"preview_no_handle", {"/p"}, SaverLaunch::Preview, 0},
                      LetterCase{"preview_trailing_text", {"/P", "77abc"}, SaverLaunch::Preview, 77},
                      LetterCase{"preview_fraction_rounds_even", {"/p", "12.5"}, SaverLaunch::Preview, 12},
                      LetterCase{"password_handle", {"/a", "99"}, SaverLaunch::Password, 99},
                      LetterCase{"slash_x", {"/x"}, SaverLaunch::None, 0},
                      LetterCase{"empty", {}, SaverLaunch::None, 0},
                      LetterCase{"long_word", {"/settings"}, SaverLaunch::FullScreen, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(commandline_test, leading_number_reads_as_far_as_a_number_goes) {
    EXPECT_EQ(1234, leadingNumber(" 1234"));
    EXPECT_EQ(0, leadingNumber(":1234"));
    EXPECT_EQ(0, leadingNumber(""));
    EXPECT_EQ(14, leadingNumber("  13.5x"));
    EXPECT_EQ(-3, leadingNumber("-3"));
    EXPECT_EQ(2000, leadingNumber("2e3"));
    EXPECT_EQ(0, leadingNumber("99999999999")); // no 32-bit handle
}

TEST(commandline_test, x_window_ids_are_decimal_or_hex) {
    EXPECT_EQ(4194311, windowId("4194311"));
    EXPECT_EQ(0x400007, windowId("0x400007"));
    EXPECT_EQ(0x400007, windowId("0X400007"));
    EXPECT_FALSE(windowId("window"));
    EXPECT_FALSE(windowId("0x"));
    EXPECT_FALSE(windowId(""));
}

TEST(commandline_test, host_screensaver_conventions) {
    EXPECT_EQ(SaverLaunch::HostWindow, parse({"-window-id", "0x2a"}).launch);
    EXPECT_EQ(0x2a, parse({"-window-id", "0x2a"}).handle);
    EXPECT_EQ(0x2a, parse({"--window-id", "42"}).handle);
    EXPECT_EQ(0, parse({"-window-id"}).handle); // no window: ends on the first tick
    // -root means the host's window when it names one, else the root window.
    EXPECT_EQ(SaverLaunch::Root, parse({"-root"}).launch);
    const SaverCommand hosted = parse({"-root", "-fps"}, "0x3000001");
    EXPECT_EQ(SaverLaunch::HostWindow, hosted.launch);
    EXPECT_EQ(0x3000001, hosted.handle);
    // The variable alone, with no switch, names the window.
    EXPECT_EQ(SaverLaunch::HostWindow, parse({}, "123").launch);
    EXPECT_EQ(123, parse({}, "123").handle);
    // The saver switches still win over the variable.
    EXPECT_EQ(SaverLaunch::Configure, parse({"/c"}, "123").launch);
    EXPECT_EQ(SaverLaunch::None, parse({}, "not a window").launch);
    // A window id wins over -root, as xscreensaver-settings' preview passes both.
    EXPECT_EQ(SaverLaunch::HostWindow, parse({"--root", "--window-id", "0x2a"}, "0x3000001").launch);
    EXPECT_EQ(0x2a, parse({"--root", "--window-id", "0x2a"}).handle);
}

TEST(commandline_test, a_square_size_is_for_the_run_and_help_and_the_hosts_are_asked_for_by_name) {
    EXPECT_EQ(12.0, parse({"--root", "--square-size", "12"}).squareSize);
    EXPECT_EQ(3.5, parse({"-square-size", "3.5", "/s"}).squareSize);
    EXPECT_EQ(SaverLaunch::FullScreen, parse({"-square-size", "3.5", "/s"}).launch);
    EXPECT_FALSE(parse({"--root", "--square-size", "30"}).squareSize); // unusable: the stored one
    EXPECT_FALSE(parse({"--root"}).squareSize);
    EXPECT_EQ(SaverLaunch::HostWindow, parse({"--square-size", "8"}, "77").launch);
    EXPECT_EQ(SaverLaunch::Help, parse({"--help"}).launch);
    EXPECT_EQ(SaverLaunch::Help, parse({"/s", "-help"}).launch);
    EXPECT_EQ(SaverLaunch::Activate, parse({"--activate"}).launch);
    EXPECT_EQ(SaverLaunch::Deactivate, parse({"/s", "-deactivate"}, "77").launch);
    EXPECT_EQ(SaverLaunch::None, parse({"--version"}).launch); // anything else still ends silently
}

// Each switch has its item in the man page: ".B NAME" or ".BI NAME " VALUE"".
TEST(commandline_test, the_man_page_names_every_switch) {
    std::ifstream in(BRAMBLEX_SOURCE_DIR "/man/bramblex2-screensaver.6");
    std::stringstream page;
    page << in.rdbuf();
    std::string text; // with "\-" read as "-"
    for (const char c : page.str())
        if (c == '-' && !text.empty() && text.back() == '\\')
            text.back() = '-';
        else
            text.push_back(c);
    for (const SaverSwitch& s : saverSwitches()) {
        if (s.form == SwitchForm::Fallback)
            continue;
        const std::string item =
            s.valueName.empty() ? ".B " + std::string(s.name) + "\n"
                                : ".BI " + std::string(s.name) + " \" " + std::string(s.valueName) + "\"";
        EXPECT_NE(std::string::npos, text.find(item)) << "the man page has no item " << item;
    }
}

} // namespace
} // namespace bx

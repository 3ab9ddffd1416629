#include "saverinstall/xscreensaverfile.h"

#include <gtest/gtest.h>

namespace bx {
namespace {

const std::string ours = "\"Bramblex 2\"  bramblex2-screensaver --root";

struct EntryCase {
    const char* name;
    std::string before, after; // the file, and the file with our entry
};

class xscreensaverfile_entry : public testing::TestWithParam<EntryCase> {};

TEST_P(xscreensaverfile_entry, holds_one_entry_and_other_lines_stay) {
    EXPECT_EQ(GetParam().after, withBramblexProgram(GetParam().before, ours));
    EXPECT_EQ(GetParam().after, withBramblexProgram(GetParam().after, ours)) << "not idempotent";
}

const EntryCase entryCases[] = {
    {"appended_after_the_last_entry",
     "mode:\t\trandom\nprograms:\t\\\n  maze --root  \\n\\\n- GL: cubes --root  \\n\nlock:\t\tFalse\n",
     "mode:\t\trandom\nprograms:\t\\\n  maze --root  \\n\\\n- GL: cubes --root  \\n\\\n  " + ours +
         "  \\n\nlock:\t\tFalse\n"},
    {"last_entry_without_its_end", "programs:\t\\\n  maze --root\n",
     "programs:\t\\\n  maze --root\\n\\\n  " + ours + "  \\n\n"},
    {"empty_list", "programs:\nmode: one\n", "programs:\t\\\n  " + ours + "  \\n\nmode: one\n"},
    {"no_list", "mode: one\n", "mode: one\nprograms:\t\\\n  " + ours + "  \\n\n"},
    {"disabled_entry_replaced_in_its_place",
     "programs:\t\\\n-  \"Bramblex 2\"  '/old/Bramblex 2.scr' --root  \\n\\\n  maze --root  \\n\n",
     "programs:\t\\\n  " + ours + "  \\n\\\n  maze --root  \\n\n"},
    {"second_entry_dropped",
     "programs:\t\\\n  " + ours + "  \\n\\\n  maze --root  \\n\\\n  bramblex2-screensaver  \\n\n",
     "programs:\t\\\n  " + ours + "  \\n\\\n  maze --root  \\n\n"},
};

INSTANTIATE_TEST_SUITE_P(cases, xscreensaverfile_entry, testing::ValuesIn(entryCases),
                         [](const testing::TestParamInfo<EntryCase>& info) { return info.param.name; });

TEST(xscreensaverfile_test, removing_the_entry_gives_back_the_list_it_was_added_to) {
    for (const EntryCase& c : {entryCases[0], entryCases[3]})
        EXPECT_EQ(c.before + (c.before.find("programs") == std::string::npos ? "programs:\n" : ""),
                  withoutBramblexProgram(c.after))
            << c.name;
    const std::string middle = "programs:\t\\\n  a  \\n\\\n  " + ours + "  \\n\\\n  b  \\n\nx: 1\n";
    EXPECT_EQ("programs:\t\\\n  a  \\n\\\n  b  \\n\nx: 1\n", withoutBramblexProgram(middle));
}

TEST(xscreensaverfile_test, the_index_counts_disabled_entries_and_skips_a_disabled_own_one) {
    const std::string text =
        "programs:  a \\n- b \\n\\\n\t\t  GL: c  \\n\\\n  " + ours + "  \\n\nselected: 1\n";
    EXPECT_EQ((std::vector<std::string>{"a", "- b", "GL: c", ours}), xscreensaverPrograms(text));
    EXPECT_EQ(std::optional<std::size_t>(3), bramblexProgramIndex(text));
    EXPECT_EQ(std::nullopt, bramblexProgramIndex("programs:  a \\n- " + ours + "\\n\n"));
    EXPECT_EQ(std::optional<std::string>("1"), xscreensaverValue(text, "selected"));
    EXPECT_EQ(std::nullopt, xscreensaverValue(text, "mode"));
}

TEST(xscreensaverfile_test, values_are_replaced_added_and_removed_whole) {
    const std::string text = "mode:\t\trandom\nlock: \\\n  False\nmodeX: 3\n";
    EXPECT_EQ("mode:\t\tone\nlock: \\\n  False\nmodeX: 3\n", withXscreensaverValue(text, "mode", "one"));
    EXPECT_EQ("mode:\t\trandom\nlock: True\nmodeX: 3\n", withXscreensaverValue(text, "lock", "True"));
    EXPECT_EQ(text + "selected:\t\t4\n", withXscreensaverValue(text, "selected", "4"));
    EXPECT_EQ("mode:\t\trandom\nmodeX: 3\n", withoutXscreensaverValue(text, "lock"));
}

TEST(xscreensaverfile_test, the_file_from_the_defaults_keeps_plain_resources_only) {
    const std::string defaults =
        "! comment\n*mode:\t\trandom\n*hacks.maze.name: Maze\n*manualCommand: a || \\\n  b\n"
        "XScreenSaver.bourneShell: /bin/sh\n*programs:\t\\\n  maze --root  \\n\\\n- cubes \\n\n";
    EXPECT_EQ(
        "# XScreenSaver Preferences File\n# Made by Bramblex 2 from xscreensaver's own defaults.\n\n"
        "mode:\t\trandom\nmanualCommand: a || \\\n  b\nprograms:\t\\\n  maze --root  \\n\\\n- cubes \\n\n",
        xscreensaverFileFromDefaults(defaults));
}

} // namespace
} // namespace bx

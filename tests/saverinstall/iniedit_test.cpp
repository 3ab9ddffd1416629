#include "saverinstall/iniedit.h"

#include <gtest/gtest.h>

namespace bx {
namespace {

const std::string entry = "SCRNSAVE.EXE=/data/windows/system\\BRAMBL~1.SCR";

struct ActivationCase {
    const char* name;
    const char* before;
    const char* after;
    IniChange change;
};

class iniedit_activation : public testing::TestWithParam<ActivationCase> {};

TEST_P(iniedit_activation, writes_the_entry_and_keeps_every_other_line) {
    const ActivationCase& c = GetParam();
    const IniActivation result = activateInIni(c.before, entry);
    EXPECT_EQ(c.after, result.text);
    EXPECT_EQ(c.change, result.change);
}

const ActivationCase activationCases[] = {
    {"another_saver_is_replaced",
     "[boot]\r\nshell=Explorer.exe\r\nSCRNSAVE.EXE=C:\\WINDOWS\\SSSTARS.SCR\r\n[drivers]\r\n",
     "[boot]\r\nshell=Explorer.exe\r\nSCRNSAVE.EXE=/data/windows/system\\BRAMBL~1.SCR\r\n[drivers]\r\n\r\n",
     IniChange::ReplacedEntry},
    {"a_comment_mentioning_scrnsave_is_replaced_too",
     "[boot]\r\n; old scrnsave.exe line\r\nscrnsave.exe=a.scr\r\n",
     "[boot]\r\nSCRNSAVE.EXE=/data/windows/system\\BRAMBL~1.SCR\r\nSCRNSAVE.EXE=/data/windows/"
     "system\\BRAMBL~1.SCR\r\n\r\n",
     IniChange::ReplacedEntry},
    {"boot_with_a_capital_b_is_written_back_lower_case",
     "[386Enh]\r\nwoafont=dosapp.fon\r\n[Boot]\r\nshell=x\r\n",
     "[386Enh]\r\nwoafont=dosapp.fon\r\n[boot]\r\nSCRNSAVE.EXE=/data/windows/"
     "system\\BRAMBL~1.SCR\r\nshell=x\r\n\r\n",
     IniChange::InsertedEntry},
    {"neither_line_adds_a_boot_section", "[drivers]\r\nwave=mmdrv.dll\r\n",
     "[drivers]\r\nwave=mmdrv.dll\r\n[boot]\r\nSCRNSAVE.EXE=/data/windows/system\\BRAMBL~1.SCR\r\n\r\n",
     IniChange::AddedBootSection},
    {"an_empty_file_gets_a_boot_section", "",
     "[boot]\r\nSCRNSAVE.EXE=/data/windows/system\\BRAMBL~1.SCR\r\n\r\n", IniChange::AddedBootSection},
    {"lf_and_lone_cr_lines_come_back_with_cr_lf", "[boot]\nshell=x\rmouse=y",
     "[boot]\r\nSCRNSAVE.EXE=/data/windows/system\\BRAMBL~1.SCR\r\nshell=x\r\nmouse=y\r\n\r\n",
     IniChange::InsertedEntry},
    {"every_activation_adds_one_empty_line_at_the_end",
     "[boot]\r\nSCRNSAVE.EXE=/data/windows/system\\BRAMBL~1.SCR\r\n\r\n",
     "[boot]\r\nSCRNSAVE.EXE=/data/windows/system\\BRAMBL~1.SCR\r\n\r\n\r\n", IniChange::ReplacedEntry},
};

INSTANTIATE_TEST_SUITE_P(cases, iniedit_activation, testing::ValuesIn(activationCases),
                         [](const testing::TestParamInfo<ActivationCase>& info) { return info.param.name; });

TEST(iniedit_test, the_entry_names_the_short_name_in_the_system_directory) {
    EXPECT_EQ("SCRNSAVE.EXE=/home/u/.local/share/bramblex/windows/system\\BRAMBL~1.SCR",
              screensaverEntry("/home/u/.local/share/bramblex/windows/system"));
}

struct ActiveCase {
    const char* name;
    const char* text;
    bool active;
};

class iniedit_active : public testing::TestWithParam<ActiveCase> {};

TEST_P(iniedit_active, needs_both_names_on_one_line) {
    EXPECT_EQ(GetParam().active, iniNamesScreensaver(GetParam().text));
}

const ActiveCase activeCases[] = {
    {"written_entry", "[boot]\r\nSCRNSAVE.EXE=/x/system\\BRAMBL~1.SCR\r\n", true},
    {"any_letter_case", "[boot]\nscrnsave.exe=c:\\windows\\system\\Brambl~1.scr\n", true},
    {"another_saver", "[boot]\r\nSCRNSAVE.EXE=C:\\WINDOWS\\SSSTARS.SCR\r\n", false},
    {"names_on_different_lines", "; BRAMBL~1.SCR\r\nSCRNSAVE.EXE=x.scr\r\n", false},
    {"empty_file", "", false},
};

INSTANTIATE_TEST_SUITE_P(cases, iniedit_active, testing::ValuesIn(activeCases),
                         [](const testing::TestParamInfo<ActiveCase>& info) { return info.param.name; });

} // namespace
} // namespace bx

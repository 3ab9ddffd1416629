#include "saverinstall/screensaverinstaller.h"

#include <gtest/gtest.h>

#include <csignal>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace bx {
namespace {
namespace fs = std::filesystem;

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

class Folders : public SystemFolders {
public:
    std::string windows, system;
    std::string windowsDirectory() override { return windows; }
    std::string systemDirectory() override { return system; }
};

// A program folder with the screensaver's files and a Windows directory with its system
// directory, all in a fresh temporary folder.
class screensaverinstaller_test : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "bxinstall-XXXXXX").string();
        ASSERT_NE(nullptr, mkdtemp(pattern.data()));
        root = pattern;
        program = root / "program";
        folders.windows = (root / "windows").string();
        folders.system = (root / "windows" / "system").string();
        fs::create_directories(program);
        fs::create_directories(folders.system);
        for (std::string_view name : screensaverFiles)
            write(program / name, "new " + std::string(name));
        fs::permissions(program / "Bramblex 2.scr", fs::perms::owner_all, fs::perm_options::add);
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path system() const { return folders.system; }
    fs::path ini() const { return fs::path(folders.windows) / "system.ini"; }

    fs::path root, program;
    Folders folders;
    ScreensaverInstaller make() { return ScreensaverInstaller(folders, program.string()); }
};

TEST_F(screensaverinstaller_test, install_copies_the_three_files_over_older_ones) {
    write(system() / "bramblexss.hlp", "old");
    ScreensaverInstaller i = make();
    EXPECT_TRUE(i.install());
    for (std::string_view name : screensaverFiles)
        EXPECT_EQ("new " + std::string(name), readAll(system() / name));
    EXPECT_NE(fs::perms::none, fs::status(system() / "Bramblex 2.scr").permissions() & fs::perms::owner_exec);
    EXPECT_TRUE(i.isInstalled());
}

TEST_F(screensaverinstaller_test, install_with_a_file_missing_fails_but_copies_the_others) {
    fs::remove(program / "bramblexss.hlp");
    ScreensaverInstaller i = make();
    EXPECT_FALSE(i.install());
    EXPECT_TRUE(fs::exists(system() / "Bramblex 2.scr"));
    EXPECT_FALSE(fs::exists(system() / "bramblexss.hlp"));
    EXPECT_TRUE(fs::exists(system() / "bramblexss.cnt"));
}

TEST_F(screensaverinstaller_test, install_with_a_copy_failing_fails_but_copies_the_others) {
    fs::create_directories(system() / "bramblexss.hlp" / "in the way");
    ScreensaverInstaller i = make();
    EXPECT_FALSE(i.install());
    EXPECT_EQ("new bramblexss.cnt", readAll(system() / "bramblexss.cnt"));
    EXPECT_TRUE(fs::is_directory(system() / "bramblexss.hlp"));
}

TEST_F(screensaverinstaller_test, install_into_a_missing_system_directory_fails) {
    folders.system = (root / "nowhere" / "system").string();
    EXPECT_FALSE(make().install());
}

struct InstalledCase {
    const char* name;
    std::vector<std::string> files;
    bool installed;
};

class screensaverinstaller_installed : public screensaverinstaller_test,
                                       public testing::WithParamInterface<InstalledCase> {};

TEST_P(screensaverinstaller_installed, needs_a_scr_file_containing_the_exact_name) {
    for (const std::string& f : GetParam().files)
        write(system() / f, "x");
    EXPECT_EQ(GetParam().installed, make().isInstalled());
}

const InstalledCase installedCases[] = {
    {"exact_name", {"Bramblex 2.scr"}, true},
    {"word_in_front", {"other.scr", "My Bramblex 2.scr"}, true},
    {"other_letter_case", {"bramblex 2.scr", "BRAMBLEX 2.SCR"}, false},
    {"name_not_ending_in_scr", {"Bramblex 2.scr.bak"}, false},
    {"other_savers_only", {"ssstars.scr"}, false},
    {"empty_folder", {}, false},
};

INSTANTIATE_TEST_SUITE_P(cases, screensaverinstaller_installed, testing::ValuesIn(installedCases),
                         [](const testing::TestParamInfo<InstalledCase>& info) { return info.param.name; });

TEST_F(screensaverinstaller_test, a_folder_named_like_the_screensaver_is_not_an_installation) {
    fs::create_directories(system() / "Bramblex 2.scr");
    EXPECT_FALSE(make().isInstalled());
}

TEST_F(screensaverinstaller_test, no_system_directory_is_not_installed) {
    fs::remove_all(system());
    EXPECT_FALSE(make().isInstalled());
}

TEST_F(screensaverinstaller_test, activate_rewrites_the_ini_file_and_makes_it_active) {
    write(ini(), "[Boot]\r\nshell=Explorer.exe\r\n");
    ScreensaverInstaller i = make();
    EXPECT_FALSE(i.isActive());
    EXPECT_EQ(ActivationResult::Activated, i.activate());
    EXPECT_EQ("[boot]\r\nSCRNSAVE.EXE=" + folders.system + "\\BRAMBL~1.SCR\r\nshell=Explorer.exe\r\n\r\n",
              readAll(ini()));
    EXPECT_TRUE(i.isActive());
    EXPECT_FALSE(fs::exists(ini().string() + ".new"));
}

TEST_F(screensaverinstaller_test, activate_without_an_ini_file_does_not_create_one) {
    EXPECT_EQ(ActivationResult::NoIniFile, make().activate());
    EXPECT_FALSE(fs::exists(ini()));
}

TEST_F(screensaverinstaller_test, a_failed_rewrite_leaves_the_old_file) {
    write(ini(), "[boot]\r\n");
    // Tests run as root, so permissions stop nothing: a file-size limit makes the write fail.
    rlimit saved{};
    ASSERT_EQ(0, ::getrlimit(RLIMIT_FSIZE, &saved));
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 8;
    ASSERT_EQ(0, ::setrlimit(RLIMIT_FSIZE, &tiny));
    const ActivationResult result = make().activate();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(ActivationResult::NotWritten, result);
    EXPECT_EQ("[boot]\r\n", readAll(ini()));
    for (const auto& entry : fs::directory_iterator(ini().parent_path()))
        EXPECT_EQ(std::string::npos, entry.path().filename().string().find(".tmp"))
            << "a temporary file stayed";
}

} // namespace
} // namespace bx

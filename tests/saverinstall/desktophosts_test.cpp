#include "saverinstall/desktophosts.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "saverinstall/xscreensaverfile.h"
#include "support/fakecommands.h"

namespace bx {
namespace {
namespace fs = std::filesystem;

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return in ? s.str() : "<missing>";
}

void write(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

const std::string userFile =
    "mode:\t\trandom\nselected:\t-1\nprograms:\t\\\n  maze --root  \\n\\\n- cubes  \\n\n";

// A home, XDG folders, an empty hack folder, xscreensaver's defaults and a program folder with the
// saver, all in a fresh temporary folder; the hosts' tools answer from a table.
class desktophosts_test : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "bxhosts-XXXXXX").string();
        ASSERT_NE(nullptr, mkdtemp(pattern.data()));
        root = pattern;
        folders = {(root / "home").string(),
                   (root / "config").string(),
                   (root / "data").string(),
                   (root / "libexec").string(),
                   {(root / "XScreenSaver").string()}};
        fs::create_directories(root / "home");
        fs::create_directories(root / "libexec");
        write(root / "XScreenSaver", "*mode:\t\trandom\n*programs:\t\\\n  maze --root  \\n\n");
        program = root / "my copy" / "Bramblex 2.scr";
        write(program, "saver");
        commands.settings = {{"org.mate.screensaver mode", "'blank-only'"},
                             {"org.mate.screensaver themes", "@as []"}};
    }
    void TearDown() override { fs::remove_all(root); }

    DesktopHosts make() { return DesktopHosts(folders, commands, program.string()); }
    fs::path xscreensaver() const { return root / "home" / ".xscreensaver"; }
    fs::path entry() const {
        return root / "data" / "applications" / "screensavers" / "bramblex2-screensaver.desktop";
    }

    fs::path root, program;
    HostFolders folders;
    test::FakeCommandRunner commands;
};

TEST_F(desktophosts_test, installed_means_the_package_or_an_install_of_ones_own) {
    commands.installed = {"xscreensaver"};
    DesktopHosts hosts = make();
    EXPECT_EQ(Installation::None, hosts.installation());
    EXPECT_TRUE(hosts.install());
    EXPECT_EQ(Installation::PerUser, hosts.installation());
    const std::string text = readAll(entry());
    EXPECT_NE(std::string::npos, text.find("\nExec=\"" + program.string() + "\" --root\n")) << text;
    EXPECT_NE(std::string::npos, text.find("\nTryExec=" + program.string() + "\n")) << text;
    // xscreensaver had no file yet: it is made from the defaults, with the full path.
    EXPECT_EQ("mode:\t\trandom\nprograms:\t\\\n  maze --root  \\n\\\n  \"Bramblex 2\"  '" + program.string() +
                  "' --root  \\n\n",
              readAll(xscreensaver()).substr(readAll(xscreensaver()).find("mode:")));
    write(root / "libexec" / "bramblex2-screensaver", "saver");
    EXPECT_EQ(Installation::Packaged, hosts.installation());
}

TEST_F(desktophosts_test, uninstall_takes_back_exactly_what_install_wrote) {
    write(xscreensaver(), userFile);
    DesktopHosts hosts = make(); // no xscreensaver program: its file is there all the same
    ASSERT_TRUE(hosts.install());
    EXPECT_EQ(std::optional<std::size_t>(2), bramblexProgramIndex(readAll(xscreensaver())));
    EXPECT_TRUE(hosts.uninstall());
    EXPECT_EQ(Installation::None, hosts.installation());
    EXPECT_FALSE(fs::exists(entry()));
    EXPECT_EQ(userFile, readAll(xscreensaver()));
    EXPECT_TRUE(fs::is_directory(entry().parent_path())) << "only the entry goes";
}

TEST_F(desktophosts_test, install_or_activate_without_the_saver_program_writes_nothing) {
    fs::remove(program);
    commands.installed = {"xscreensaver"};
    DesktopHosts hosts = make();
    EXPECT_FALSE(hosts.install());
    const std::vector<HostReport> reports = hosts.activate();
    ASSERT_EQ(1u, reports.size());
    EXPECT_FALSE(reports[0].done);
    EXPECT_FALSE(fs::exists(entry()));
    EXPECT_FALSE(fs::exists(xscreensaver()));
    EXPECT_FALSE(fs::exists(hosts.statePath()));
}

TEST_F(desktophosts_test, activate_without_a_host_changes_nothing) {
    DesktopHosts hosts = make();
    EXPECT_TRUE(hosts.activate().empty());
    EXPECT_FALSE(hosts.isActive());
    EXPECT_FALSE(fs::exists(entry()));
    EXPECT_FALSE(fs::exists(hosts.statePath()));
}

TEST_F(desktophosts_test, activate_sets_every_host_and_deactivate_puts_back_what_the_user_had) {
    commands.installed = {"xscreensaver",      "mate-screensaver", "gsettings",
                          "xfce4-screensaver", "xfconf-query",     "xscreensaver-command"};
    commands.settings["xfce4-screensaver /saver/mode"] = "1";
    commands.lists["xfce4-screensaver /saver/themes/list"] = {"screensavers-a", "screensavers-b"};
    write(xscreensaver(), userFile);
    write(root / "libexec" / "bramblex2-screensaver", "saver"); // the package
    const auto before = commands.settings;
    const auto listsBefore = commands.lists;
    DesktopHosts hosts = make();
    EXPECT_FALSE(hosts.isActive());

    const std::vector<HostReport> reports = hosts.activate();
    ASSERT_EQ(3u, reports.size());
    for (const HostReport& r : reports)
        EXPECT_TRUE(r.done) << r.host << ": " << r.said;
    EXPECT_EQ(hosts.xscreensaverPath() + ": mode one, selected 2 (Bramblex 2)", reports[0].said);
    const std::string text = readAll(xscreensaver());
    EXPECT_EQ(std::optional<std::string>("one"), xscreensaverValue(text, "mode"));
    EXPECT_EQ(std::optional<std::string>("2"), xscreensaverValue(text, "selected"));
    EXPECT_EQ("\"Bramblex 2\"  bramblex2-screensaver --root", xscreensaverPrograms(text).back());
    EXPECT_EQ("'single'", commands.settings["org.mate.screensaver mode"]);
    EXPECT_EQ("['screensavers-bramblex2-screensaver']", commands.settings["org.mate.screensaver themes"]);
    EXPECT_EQ("2", commands.settings["xfce4-screensaver /saver/mode"]);
    EXPECT_EQ(std::vector<std::string>{"screensavers-bramblex2-screensaver"},
              commands.lists["xfce4-screensaver /saver/themes/list"]);
    EXPECT_TRUE(hosts.isActive());
    EXPECT_NE(commands.calls.end(), std::find(commands.calls.begin(), commands.calls.end(),
                                              std::vector<std::string>{"xscreensaver-command", "-restart"}));
    // A second activation keeps what the first one found.
    hosts.activate();

    commands.settings["org.mate.screensaver mode"] = "'random'"; // one host no longer shows it
    EXPECT_FALSE(hosts.isActive());

    EXPECT_EQ(3u, hosts.deactivate().size());
    EXPECT_EQ(userFile, readAll(xscreensaver()));
    EXPECT_EQ(before, commands.settings);
    EXPECT_EQ(listsBefore, commands.lists);
    EXPECT_FALSE(fs::exists(hosts.statePath()));
    EXPECT_TRUE(hosts.deactivate().empty());
}

TEST_F(desktophosts_test, activate_installs_a_copy_and_deactivate_takes_that_install_back) {
    commands.installed = {"xscreensaver", "mate-screensaver", "gsettings"};
    DesktopHosts hosts = make();
    const std::vector<HostReport> reports = hosts.activate();
    ASSERT_EQ(2u, reports.size());
    EXPECT_TRUE(reports[0].done);
    EXPECT_FALSE(reports[1].done) << "MATE cannot start a copy of one's own";
    EXPECT_EQ("'blank-only'", commands.settings["org.mate.screensaver mode"]);
    EXPECT_EQ(Installation::PerUser, hosts.installation());
    EXPECT_FALSE(hosts.isActive());
    commands.installed.erase("mate-screensaver"); // xscreensaver alone
    EXPECT_TRUE(hosts.isActive());
    const std::vector<HostReport> back = hosts.deactivate();
    ASSERT_EQ(2u, back.size());
    EXPECT_EQ(hosts.xscreensaverPath() + ": mode random, selected unset", back[0].said);
    EXPECT_EQ(Installation::None, hosts.installation());
    EXPECT_EQ(std::nullopt, bramblexProgramIndex(readAll(xscreensaver())));
}

} // namespace
} // namespace bx

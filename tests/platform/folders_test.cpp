#include "platform/folders.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace bx {
namespace {
namespace fs = std::filesystem;

class folders_test : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "bxfolders-XXXXXX").string();
        ASSERT_NE(nullptr, mkdtemp(pattern.data()));
        data = pattern;
    }
    void TearDown() override { fs::remove_all(data); }
    fs::path data;
};

TEST_F(folders_test, the_users_data_folder_follows_xdg_data_home) {
    // Set here: the test runner does not pass XDG_DATA_HOME to every test.
    const char* before = std::getenv("XDG_DATA_HOME");
    const std::string saved = before ? before : "";
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    EXPECT_EQ((data / "bramblex").string(), userDataFolder());
    if (before)
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

TEST_F(folders_test, profiles_stay_beside_a_program_the_user_can_write) {
    EXPECT_EQ(data.string(), profileHome(data.string(), "/user/data"));
    // A folder that cannot be written (here: one that is not there) sends them to the user's folder.
    EXPECT_EQ("/user/data", profileHome((data / "missing").string(), "/user/data"));
    // An installed copy keeps them per user even where the user may write (root, a prefix of one's own).
    const std::filesystem::path installed = data / "prefix/lib/bramblex2";
    std::filesystem::create_directories(installed);
    EXPECT_EQ("/user/data", profileHome(installed.string(), "/user/data"));
}

// Pictures and documents are saved first into the XDG folder user-dirs.dirs names, while it is
// there, else into the home folder.
TEST_F(folders_test, pictures_and_documents_go_to_their_xdg_folders_else_home) {
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const std::string savedConfig = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    setenv("HOME", data.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (data / "config").c_str(), 1);
    fs::create_directories(data / "config");
    std::ofstream(data / "config/user-dirs.dirs")
        << "XDG_PICTURES_DIR=\"$HOME/Bilder\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
    EXPECT_EQ(data.string(), picturesFolder());
    EXPECT_EQ(data.string(), documentsFolder());
    fs::create_directories(data / "Bilder");
    fs::create_directories(data / "Dokumente");
    EXPECT_EQ((data / "Bilder").string(), picturesFolder());
    EXPECT_EQ((data / "Dokumente").string(), documentsFolder());
    setenv("HOME", savedHome.c_str(), 1);
    setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
}

} // namespace
} // namespace bx

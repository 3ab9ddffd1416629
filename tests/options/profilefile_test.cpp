#include "options/profilefile.h"

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "options/profile.h"
#include "profiletesting.h"

namespace bx {
namespace {

using namespace test;

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

INSTANTIATE_TEST_SUITE_P(profilefile_test, not_a_file,
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

TEST(profilefile_test, writing_replaces_the_target_whole_and_leaves_no_temporary_file) {
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

// A failed write names the file, and says whether a pipe may hold part of the text: a file is
// left as it was, a pipe whose reader quits after a little has been written into.
TEST(profilefile_test, a_failed_write_names_the_file_and_whether_part_was_written) {
    const auto oldHandler = std::signal(SIGPIPE, SIG_IGN);
    TempFolder folder;
    writeText(folder / "plain", "not a folder");
    const fs::path pipe = folder / "pipe";
    ASSERT_EQ(0, ::mkfifo(pipe.c_str(), 0600));
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    std::thread quitter([reader] { // takes the first bytes, then quits before the rest
        pollfd p{reader, POLLIN, 0};
        char first[4096];
        while (::poll(&p, 1, -1) < 0 || ::read(reader, first, sizeof first) <= 0)
            ;
        ::close(reader);
    });
    TestSim t(90, [](SimulationOptions& o) { o.gridSizeX = o.gridSizeY = 150; }); // beyond a pipe's buffer
    t.create();
    for (const auto& [path, part] :
         {std::pair{(folder / "plain" / "p.bx2").string(), false}, std::pair{pipe.string(), true}}) {
        bool partWritten = !part;
        const std::string error = writeProfile(path, t.options, t.world, &partWritten);
        EXPECT_NE(std::string::npos, error.find(path)) << error;
        EXPECT_EQ(part, partWritten) << error;
    }
    quitter.join();
    EXPECT_EQ(2u, folder.names().size()); // no temporary file
    std::signal(SIGPIPE, oldHandler);
}

// Tests run as root, so permissions cannot make a write fail; a file-size limit can, half-way.
TEST(profilefile_test, write_failing_half_way_leaves_the_old_file_untouched) {
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

TEST(profilefile_test, world_holding_a_value_that_is_not_a_number_is_not_written) {
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

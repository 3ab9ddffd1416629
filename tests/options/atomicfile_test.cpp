#include "options/atomicfile.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A fresh folder per test, and the names in it.
struct Folder {
    fs::path path;
    Folder() {
        path = fs::path(::testing::TempDir()) / "bramblex_atomicfile" /
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~Folder() { fs::remove_all(path); }
    fs::path operator/(const std::string& name) const { return path / name; }
    int entries() const { return static_cast<int>(std::distance(fs::directory_iterator(path), {})); }
};

struct TargetCase {
    std::string name;
    std::function<void(const Folder&)> prepare; // what stands at "target" beforehand
    std::string error;                          // "" when the write succeeds
    std::function<bool(const Folder&)> after;   // what must hold afterwards
    friend void PrintTo(const TargetCase& c, std::ostream* os) { *os << c.name; }
};

class what_stands_at_the_target : public testing::TestWithParam<TargetCase> {};

TEST_P(what_stands_at_the_target, decides_how_it_is_written) {
    const TargetCase& c = GetParam();
    const Folder folder;
    c.prepare(folder);
    const int entries = folder.entries();
    EXPECT_EQ(c.error, bx::replaceFileText((folder / "target").string(), "new text\n"));
    EXPECT_TRUE(c.after(folder));
    EXPECT_GE(entries + 1, folder.entries()) << "a temporary file was left behind";
}

void write(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}
mode_t modeOf(const fs::path& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st.st_mode;
}

INSTANTIATE_TEST_SUITE_P(
    atomicfile_test, what_stands_at_the_target,
    testing::Values(
        TargetCase{"nothing", [](const Folder&) {}, "",
                   [](const Folder& f) { return readText(f / "target") == "new text\n"; }},
        TargetCase{"a_file_whose_permission_bits_stay",
                   [](const Folder& f) {
                       write(f / "target", "old");
                       fs::permissions(f / "target", fs::perms(0640));
                   },
                   "",
                   [](const Folder& f) {
                       return readText(f / "target") == "new text\n" &&
                              (modeOf(f / "target") & 07777) == 0640;
                   }},
        TargetCase{"a_link_whose_file_is_written",
                   [](const Folder& f) {
                       fs::create_directory(f / "elsewhere");
                       write(f / "elsewhere" / "file", "old");
                       fs::create_symlink("elsewhere/file", f / "target");
                   },
                   "",
                   [](const Folder& f) {
                       return fs::is_symlink(f / "target") &&
                              readText(f / "elsewhere" / "file") == "new text\n";
                   }},
        TargetCase{"a_dangling_link_whose_file_is_made",
                   [](const Folder& f) { fs::create_symlink("made", f / "target"); }, "",
                   [](const Folder& f) {
                       return fs::is_symlink(f / "target") && readText(f / "made") == "new text\n";
                   }},
        TargetCase{"a_folder", [](const Folder& f) { fs::create_directory(f / "target"); }, "it is a folder",
                   [](const Folder& f) { return fs::is_directory(f / "target"); }},
        TargetCase{"a_named_pipe_nobody_reads",
                   [](const Folder& f) { ::mkfifo((f / "target").c_str(), 0600); },
                   "it is a named pipe that nothing reads from",
                   [](const Folder& f) { return S_ISFIFO(modeOf(f / "target")); }},
        TargetCase{"a_socket",
                   [](const Folder& f) {
                       sockaddr_un address{};
                       address.sun_family = AF_UNIX;
                       const std::string path = (f / "target").string();
                       path.copy(address.sun_path, sizeof address.sun_path - 1);
                       const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
                       ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
                       ::close(s);
                   },
                   "it is a socket", [](const Folder& f) { return S_ISSOCK(modeOf(f / "target")); }},
        TargetCase{
            "a_missing_folder", [](const Folder& f) { fs::create_symlink("no/such/file", f / "target"); },
            "No such file or directory", [](const Folder& f) { return fs::is_symlink(f / "target"); }}),
    [](const auto& info) { return info.param.name; });

TEST(atomicfile_test, a_named_pipe_with_a_reader_is_written_into_and_stays_a_pipe) {
    const Folder folder;
    const fs::path pipe = folder / "pipe";
    ASSERT_EQ(0, ::mkfifo(pipe.c_str(), 0600));
    std::string received;
    std::thread reader([&] { received = readText(pipe); });
    bx::AtomicFile file(pipe.string(), bx::AtomicFile::PipeReader::Wait);
    ASSERT_TRUE(file.ok()) << file.error();
    EXPECT_EQ("", file.temporaryPath());
    file.stream() << "rows\n";
    EXPECT_EQ("", file.commit());
    reader.join();
    EXPECT_EQ("rows\n", received);
    EXPECT_TRUE(S_ISFIFO(modeOf(pipe)));
}

TEST(atomicfile_test, a_device_is_written_into_and_stays_a_device) {
    const Folder folder;
    fs::path device = "/dev/null";
    if (::geteuid() == 0 && ::mknod((folder / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        device = folder / "null"; // one of our own, so that it is seen to stay what it is
    EXPECT_EQ("", bx::replaceFileText(device.string(), "gone\n"));
    EXPECT_TRUE(S_ISCHR(modeOf(device)));
}

TEST(atomicfile_test, an_uncommitted_file_leaves_the_old_one_and_no_temporary_file) {
    const Folder folder;
    write(folder / "target", "old");
    {
        bx::AtomicFile file((folder / "target").string());
        ASSERT_TRUE(file.ok());
        file.stream() << "half";
        EXPECT_TRUE(fs::exists(file.temporaryPath()));
        EXPECT_EQ("", file.finish());
    }
    EXPECT_EQ("old", readText(folder / "target"));
    EXPECT_EQ(1, folder.entries());
}

} // namespace

#include "options/atomicfile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

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
    // A pipe behind /dev/fd/N (a shell's process substitution), whose link text is no path.
    int ends[2];
    ASSERT_EQ(0, ::pipe(ends));
    EXPECT_EQ("", bx::replaceFileText("/dev/fd/" + std::to_string(ends[1]), "rows\n"));
    char received[8] = {};
    EXPECT_EQ(5, ::read(ends[0], received, sizeof received));
    EXPECT_STREQ("rows\n", received);
    ::close(ends[0]);
    ::close(ends[1]);
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

// What another user put in a folder that everyone may write to and only owners may delete from
// (such as /tmp) is followed, entered or written into as the kernel's protected_* rules would,
// whatever the system's settings and whatever it leads to: only when the writer or the folder's
// owner put it there. Anywhere else it is used.
TEST(atomicfile_test, what_other_users_put_in_shared_folders_is_not_used) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "files of another user need root";
    constexpr uid_t other = 65534; // nobody
    // In shared/: a link "target" or "sub" to elsewhere/target or elsewhere/sub, a folder "sub"
    // holding a link "target" to elsewhere/target, a file "target", or a link "target" to the
    // writer's own standard output (elsewhere/target).
    enum Planted { linkToFile, linkToFolder, folderOfLinks, file, linkToOutput };
    struct Row {
        std::string name;
        mode_t folderMode;
        uid_t folderOwner, owner;
        Planted planted;
        bool asFolder;       // opened as a folder to write into (--frames), not written as a file
        std::string refused; // the message ("@": the test's folder), "" when written
    };
    const std::string ofAnother = " of another user in a folder everyone may write to: ";
    const std::vector<Row> rows{
        {"another_users_link", 01777, 0, other, linkToFile, false,
         "it is a link" + ofAnother + "not followed"},
        {"another_users_link_to_a_folder", 01777, 0, other, linkToFolder, false,
         "'@/shared/sub' is a link" + ofAnother + "not followed"},
        {"another_users_link_as_a_folder_to_write_into", 01777, 0, other, linkToFolder, true,
         "it is a link" + ofAnother + "not followed"},
        {"another_users_link_to_the_writers_standard_output", 01777, 0, other, linkToOutput, false,
         "it is a link" + ofAnother + "not followed"},
        {"another_users_folder_on_the_way", 01777, 0, other, folderOfLinks, false,
         "'@/shared/sub' is a folder" + ofAnother + "not written into"},
        {"another_users_folder_to_write_into", 01777, 0, other, folderOfLinks, true,
         "it is a folder" + ofAnother + "not written into"},
        {"another_users_file", 01777, 0, other, file, false, "it is a file" + ofAnother + "not replaced"},
        {"the_writers_own_link", 01777, 0, 0, linkToFile, false, ""},
        {"the_folder_owners_link", 01777, other, other, linkToFile, false, ""},
        {"the_folder_owners_folder", 01777, other, other, folderOfLinks, false, ""},
        {"a_link_in_a_folder_that_is_not_sticky", 0777, 0, other, linkToFile, false, ""},
        {"a_file_in_a_folder_that_is_not_sticky", 0777, 0, other, file, false, ""},
        {"a_link_in_a_sticky_folder_not_everyone_may_write_to", 01775, 0, other, linkToFile, false, ""},
    };
    for (const Row& row : rows) {
        const Folder folder;
        const fs::path shared = folder / "shared";
        fs::create_directories(folder / "elsewhere" / "sub");
        write(folder / "elsewhere" / "target", "secret");
        write(folder / "elsewhere" / "sub" / "target", "secret");
        fs::create_directory(shared);
        ASSERT_EQ(0, ::chown(shared.c_str(), row.folderOwner, row.folderOwner));
        ASSERT_EQ(0, ::chmod(shared.c_str(), row.folderMode));
        const bool inSub = row.planted == linkToFolder || row.planted == folderOfLinks;
        const fs::path planted = shared / (inSub ? "sub" : "target");
        fs::path leadsTo = folder / "elsewhere" / (row.planted == linkToFolder ? "sub/target" : "target");
        if (row.planted == file) {
            write(planted, "secret");
            ::chmod(planted.c_str(), 0666);
            leadsTo = planted;
        } else if (row.planted == folderOfLinks) {
            fs::create_directory(planted);
            fs::create_symlink(leadsTo, planted / "target");
            ASSERT_EQ(0, ::lchown((planted / "target").c_str(), row.owner, row.owner));
        } else {
            fs::create_symlink(folder / "elsewhere" / planted.filename(), planted);
        }
        ASSERT_EQ(0, ::lchown(planted.c_str(), row.owner, row.owner));
        std::string error;
        if (row.asFolder) {
            const int fd = bx::openFolderForWriting(planted.string(), error);
            if (fd >= 0)
                ::close(fd);
        } else {
            const int output = row.planted == linkToOutput ? ::open(leadsTo.c_str(), O_WRONLY) : -1;
            const int savedOutput = ::dup(STDOUT_FILENO);
            std::fflush(stdout);
            if (output >= 0)
                ::dup2(output, STDOUT_FILENO);
            error = bx::replaceFileText((inSub ? planted / "target" : planted).string(), "new text\n");
            ::dup2(savedOutput, STDOUT_FILENO);
            ::close(savedOutput);
            if (output >= 0)
                ::close(output);
        }
        std::string refused = row.refused;
        if (const auto at = refused.find('@'); at != std::string::npos)
            refused.replace(at, 1, folder.path.string());
        EXPECT_EQ(refused, error) << row.name;
        EXPECT_EQ(row.refused.empty() && !row.asFolder ? "new text\n" : "secret", readText(leadsTo))
            << row.name;
    }
}

// The temporary file's name fits where the target's does: a name of up to 255 bytes is written.
TEST(atomicfile_test, names_as_long_as_the_folder_takes_are_written) {
    const Folder folder;
    for (const std::size_t length : {200, 248, 255}) {
        const fs::path target = folder / std::string(length, 'n');
        EXPECT_EQ("", bx::replaceFileText(target.string(), "text")) << length;
        EXPECT_EQ("text", readText(target)) << length;
    }
    EXPECT_EQ(3, folder.entries());
}

// A window writing into a pipe or a device never hangs: a reader that stalls is given up on after
// a while, one that quits fails the write (SIGPIPE ignored, as the programs do); both are named.
TEST(atomicfile_test, a_pipe_whose_reader_stalls_or_quits_fails_without_hanging) {
    const auto oldHandler = std::signal(SIGPIPE, SIG_IGN);
    const std::string text(1 << 20, 'x');
    for (const bool quits : {false, true}) {
        const Folder folder;
        const fs::path pipe = folder / "pipe";
        ASSERT_EQ(0, ::mkfifo(pipe.c_str(), 0600));
        const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
        bx::AtomicFile file(pipe.string(), bx::AtomicFile::PipeReader::Required,
                            std::chrono::milliseconds(300));
        ASSERT_TRUE(file.ok()) << file.error();
        if (quits)
            ::close(reader);
        file.stream() << text;
        EXPECT_EQ(quits ? "nothing reads from it any more"
                        : "it did not take what was written within 1 second",
                  file.commit());
        EXPECT_EQ(quits, file.readerGone());
        if (!quits)
            ::close(reader);
    }
    std::signal(SIGPIPE, oldHandler);
}

// Two paths of one file, whichever way they reach it, are found to be the same target; files
// written straight into (devices) never are.
TEST(atomicfile_test, two_paths_of_one_file_are_the_same_target) {
    const Folder folder;
    write(folder / "file", "");
    fs::create_symlink("file", folder / "link");
    fs::create_hard_link(folder / "file", folder / "hard");
    fs::create_symlink("new", folder / "dangling");
    const auto same = [&](const std::string& a, const std::string& b) {
        return bx::sameTarget(a.front() == '/' ? a : (folder / a).string(),
                              b.front() == '/' ? b : (folder / b).string());
    };
    EXPECT_TRUE(same("file", "file"));
    EXPECT_TRUE(same("file", "link"));
    EXPECT_TRUE(same("hard", "link"));
    EXPECT_TRUE(same("dangling", "new"));
    EXPECT_TRUE(same("new", "./new"));
    EXPECT_FALSE(same("file", "new"));
    EXPECT_FALSE(same("new", "other"));
    EXPECT_FALSE(same("/dev/null", "/dev/null"));
}

} // namespace

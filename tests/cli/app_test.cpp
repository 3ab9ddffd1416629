#include "cli/app.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "options/optionfields.h"
#include "options/profilefile.h"

namespace bx::cli {
namespace {

namespace fs = std::filesystem;

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result runWith(std::vector<std::string> args, bool errIsTerminal = false) {
    std::ostringstream out, err;
    const int status = runCommandLine(args, "/nonexistent", Console{out, err, errIsTerminal});
    return {status, out.str(), err.str()};
}

// A fresh empty folder per test under the test framework's temporary folder.
fs::path freshFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path folder = fs::path(::testing::TempDir()) / "bramblex_app_test" / info->name();
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> filesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(app_test, argument_errors_exit_2_with_one_line_naming_the_fault_and_a_hint) {
    struct Row {
        std::vector<std::string> args;
        std::vector<std::string> mentions;
    };
    const std::vector<Row> rows{
        {{"--set", "gridSizeZ=5"}, {"gridSizeZ"}},
        {{"--set", "gridSizeX=101"}, {"gridSizeX", "1..100"}},
        {{"--set", "gridSizeX=abc"}, {"gridSizeX", "1..100"}},
        {{"--set", "asteroidFrequency=-1"}, {"asteroidFrequency", "0..100000000"}},
        {{"--set", "orgUserColour3=1,2"}, {"orgUserColour3", "R,G,B", "0..255"}},
        {{"--set", "mutationsOn=maybe"}, {"mutationsOn", "true or false"}},
        {{"--generations"}, {"--generations", "needs a value"}},
        {{"--set"}, {"--set", "needs a value"}},
        {{"--frobnicate"}, {"--frobnicate"}},
        {{"stray"}, {"stray"}},
        {{"--square-size", "200"}, {"--square-size", "1..128"}},
    };
    for (const Row& row : rows) {
        const Result r = runWith(row.args);
        EXPECT_EQ(2, r.status) << row.args[0];
        EXPECT_EQ("", r.out);
        ASSERT_EQ(0u, r.err.rfind("bramblex-run: ", 0)) << r.err;
        const std::string firstLine = r.err.substr(0, r.err.find('\n'));
        for (const std::string& m : row.mentions)
            EXPECT_NE(std::string::npos, firstLine.find(m)) << firstLine << " lacks " << m;
        EXPECT_EQ(firstLine + "\nTry 'bramblex-run --help' for usage.\n", r.err);
    }
}

TEST(app_test, help_goes_to_standard_output_and_lists_every_option) {
    const Result r = runWith({"--help"});
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("", r.err);
    EXPECT_EQ(0u, r.out.rfind("Usage: bramblex-run", 0));
    for (const OptionField& f : optionFields())
        EXPECT_NE(std::string::npos, r.out.find("  " + std::string(f.name) + " ")) << f.name;
    // Each option's description follows it, wrapped; the numbered modes name their captions.
    std::string words;
    std::istringstream out(r.out);
    for (std::string word; out >> word;)
        words += word + " ";
    for (const OptionField& f : optionFields()) {
        std::istringstream description{std::string(f.description)};
        std::string expected;
        for (std::string word; description >> word;)
            expected += word + " ";
        EXPECT_NE(std::string::npos, words.find(expected)) << f.name;
    }
    for (const char* caption : {"1 Random", "2 Full", "3 Ideal", "4 None", "2 Primary", "3 Choose"})
        EXPECT_NE(std::string::npos, words.find(caption)) << caption;
}

TEST(app_test, a_run_writes_the_stats_rows_and_the_picture_and_leaves_no_temporary_files) {
    const fs::path folder = freshFolder();
    const Result r = runWith({"--generations", "5", "--seed", "1", "--set", "gridSizeX=7", "--set",
                              "gridSizeY=3", "--stats", (folder / "s.csv").string(), "--png",
                              (folder / "w.png").string(), "--square-size", "3"});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.err); // not a terminal: no progress bar
    EXPECT_NE(std::string::npos, r.out.find("5 generations"));
    EXPECT_EQ((std::vector<std::string>{"s.csv", "w.png"}), filesIn(folder));

    std::istringstream stats(readFile(folder / "s.csv"));
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(stats, line))
        lines.push_back(line);
    ASSERT_EQ(6u, lines.size());
    EXPECT_EQ("generation,organisms,environments,org_red,org_green,org_blue,env_red,env_green,env_blue,reset",
              lines[0]);
    for (int g = 1; g <= 5; ++g)
        EXPECT_EQ(0u, lines[static_cast<std::size_t>(g)].rfind(std::to_string(g) + ",", 0)) << lines[g];

    const std::string png = readFile(folder / "w.png");
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(std::string("\x89PNG\r\n\x1a\n", 8), png.substr(0, 8));
    EXPECT_EQ(std::string("\0\0\0\x15\0\0\0\x09", 8), png.substr(16, 8)); // 21 x 9 pixels
}

TEST(app_test, stats_to_standard_output_hold_only_the_csv) {
    const Result r = runWith({"--generations", "3", "--seed", "2", "--stats", "-"});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ(0u, r.out.rfind("generation,organisms,", 0));
    EXPECT_EQ(4, std::count(r.out.begin(), r.out.end(), '\n'));
    EXPECT_NE(std::string::npos, r.out.find("\n3,")); // the last row, with no summary after it
}

TEST(app_test, zero_generations_create_the_world_and_write_a_header_only) {
    const fs::path folder = freshFolder();
    const Result r = runWith(
        {"--generations", "0", "--stats", (folder / "s.csv").string(), "--png", (folder / "w.png").string()});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ(
        "generation,organisms,environments,org_red,org_green,org_blue,env_red,env_green,env_blue,reset\n",
        readFile(folder / "s.csv"));
    EXPECT_TRUE(fs::exists(folder / "w.png"));
}

TEST(app_test, an_unwritable_output_fails_with_status_1_before_the_run) {
    const fs::path folder = freshFolder();
    for (const char* option : {"--stats", "--png", "--save"}) {
        const std::string target = (folder / "missing" / "out").string();
        const Result r = runWith({"--generations", "1000000000", option, target});
        EXPECT_EQ(1, r.status) << option;
        EXPECT_EQ("bramblex-run: cannot write '" + target + "': No such file or directory\n", r.err)
            << option;
        const Result folderTarget = runWith({"--generations", "1000000000", option, folder.string()});
        EXPECT_EQ("bramblex-run: cannot write '" + folder.string() + "': it is a folder\n", folderTarget.err);
    }
}

TEST(app_test, a_failed_output_leaves_the_old_files_and_no_temporary_files) {
    const fs::path folder = freshFolder();
    fs::create_directory(folder / "w.png"); // a folder where the picture should go: the rename fails
    std::ofstream(folder / "s.csv") << "old\n";
    const Result r = runWith(
        {"--generations", "2", "--stats", (folder / "s.csv").string(), "--png", (folder / "w.png").string()});
    EXPECT_EQ(1, r.status);
    EXPECT_NE(std::string::npos, r.err.find("w.png")) << r.err;
    EXPECT_EQ("old\n", readFile(folder / "s.csv"));
    EXPECT_EQ((std::vector<std::string>{"s.csv", "w.png"}), filesIn(folder));
}

// A full disk while the outputs are written: the one that failed is named, and as every output is
// written out before any is put in place, each old file stays as it was.
TEST(app_test, an_output_that_cannot_be_written_whole_is_named_and_no_old_file_is_replaced) {
    const fs::path folder = freshFolder();
    for (const char* name : {"s.csv", "w.png", "p.bx2"})
        std::ofstream(folder / name) << "old\n";
    rlimit saved{};
    ASSERT_EQ(0, ::getrlimit(RLIMIT_FSIZE, &saved));
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 32768; // the statistics and the picture fit, a 50 x 50 profile does not
    ASSERT_EQ(0, ::setrlimit(RLIMIT_FSIZE, &small));
    const Result r = runWith({"--generations", "2", "--stats", (folder / "s.csv").string(), "--png",
                              (folder / "w.png").string(), "--save", (folder / "p.bx2").string()});
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(1, r.status);
    EXPECT_EQ(0u, r.err.find("bramblex-run: cannot write '" + (folder / "p.bx2").string() + "': ")) << r.err;
    for (const char* name : {"s.csv", "w.png", "p.bx2"})
        EXPECT_EQ("old\n", readFile(folder / name)) << name;
    EXPECT_EQ((std::vector<std::string>{"p.bx2", "s.csv", "w.png"}), filesIn(folder));
}

// Frame k is the picture of generation k * N, as --png paints it; a folder with frames is refused
// unless they may be replaced, and then none of the older run is left.
TEST(app_test, frames_are_the_pictures_of_every_nth_generation) {
    const fs::path folder = freshFolder();
    const std::string frames = (folder / "frames").string();
    const Result r = runWith({"--seed", "5", "--generations", "7", "--frames", frames, "--every", "3"});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ((std::vector<std::string>{"frame-000001.png", "frame-000002.png"}), filesIn(frames));
    ASSERT_EQ(0,
              runWith({"--seed", "5", "--generations", "6", "--png", (folder / "six.png").string()}).status);
    EXPECT_TRUE(readFile(folder / "six.png") == readFile(fs::path(frames) / "frame-000002.png"));

    const Result again = runWith({"--seed", "5", "--generations", "2", "--frames", frames});
    EXPECT_EQ(1, again.status);
    EXPECT_NE(std::string::npos, again.err.find("holds frames already")) << again.err;
    fs::create_directory(fs::path(frames) / "frame-000009.png"); // a folder, no frame: it stays
    ASSERT_EQ(0, runWith({"--generations", "1", "--frames", frames, "--overwrite-frames"}).status);
    EXPECT_EQ((std::vector<std::string>{"frame-000001.png", "frame-000009.png"}), filesIn(frames));
    EXPECT_EQ(2, runWith({"--every", "3"}).status);
    const std::string file = (fs::path(frames) / "frame-000001.png").string();
    EXPECT_NE(std::string::npos,
              runWith({"--generations", "3", "--frames", file}).err.find("it is not a folder"));
    if (::geteuid() != 0)
        return;
    // Another user's link to them in a folder everyone may write to: refused before any is removed.
    const fs::path shared = folder / "shared";
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms(01777));
    fs::create_symlink(frames, shared / "frames");
    ASSERT_EQ(0, ::lchown((shared / "frames").c_str(), 65534, 65534));
    const Result refused =
        runWith({"--generations", "1", "--frames", (shared / "frames").string(), "--overwrite-frames"});
    EXPECT_EQ(1, refused.status);
    EXPECT_NE(std::string::npos, refused.err.find("it is a link of another user")) << refused.err;
    EXPECT_EQ((std::vector<std::string>{"frame-000001.png", "frame-000009.png"}), filesIn(frames));
}

// Two outputs that would replace one file, however the paths reach it, are refused before the run
// as a bad command line is; devices take any number of outputs.
TEST(app_test, two_outputs_naming_one_file_are_refused_before_the_run) {
    const fs::path folder = freshFolder();
    const std::string a = (folder / "a").string();
    fs::create_symlink("a", folder / "link");
    std::ofstream(folder / "b") << "old\n";
    fs::create_hard_link(folder / "b", folder / "hard");
    const std::vector<std::vector<std::string>> rows{
        {"--stats", a, "--png", a},
        {"--stats", a, "--save", (folder / "link").string()},
        {"--png", (folder / "b").string(), "--save", (folder / "hard").string()},
        {"--stats", a, "--save", (folder / "." / "a").string()},
        {"--png", (folder / "frames" / "frame-000001.png").string(), "--frames",
         (folder / "frames").string()},
    };
    fs::create_directory(folder / "frames");
    for (const std::vector<std::string>& row : rows) {
        const Result r = runWith(row);
        EXPECT_EQ(2, r.status) << row[1] << " " << row[3];
        EXPECT_NE(std::string::npos, r.err.find(row[0] + " and " + row[2] + " name the same file")) << r.err;
    }
    EXPECT_EQ((std::vector<std::string>{"b", "frames", "hard", "link"}), filesIn(folder));
    EXPECT_TRUE(filesIn(folder / "frames").empty());
    EXPECT_EQ("old\n", readFile(folder / "b"));
    EXPECT_EQ(0, runWith({"--generations", "1", "--stats", "/dev/null", "--png", "/dev/null"}).status);
}

// A file's name may hold anything; in messages it is escaped as file text is, so that no name can
// move the cursor or fake output on a terminal.
TEST(app_test, file_names_in_messages_are_escaped) {
    const fs::path folder = freshFolder();
    const std::string crafted = "\x1b[2Jname\xff\n";
    std::ofstream(folder / crafted) << "not a profile\n";
    const std::vector<std::vector<std::string>> rows{
        {"--profile", (folder / crafted).string()},                 // the reader's message
        {"--options-from", (folder / (crafted + "gone")).string()}, // cannot be read
        {"--save", (folder / crafted / "x").string()},              // the writer's message
        {"stray" + crafted},                                        // a bad command line
    };
    for (const std::vector<std::string>& row : rows) {
        const Result r = runWith(row);
        EXPECT_NE(0, r.status);
        EXPECT_NE(std::string::npos, r.err.find("\\x1B[2Jname\\xFF\\x0A")) << r.err;
        EXPECT_EQ(std::string::npos, r.err.find_first_of("\x1b\xff")) << r.err;
    }
}

TEST(app_test, a_terminal_gets_a_progress_bar_on_the_error_stream) {
    const Result r = runWith({"--generations", "3", "--seed", "1"}, true);
    EXPECT_EQ(0, r.status);
    EXPECT_NE(std::string::npos, r.err.find("3 / 3 generations"));
    EXPECT_EQ(std::string::npos, r.out.find('\r'));
}

TEST(app_test, a_saved_simulation_continues_with_its_counters_and_world) {
    const fs::path folder = freshFolder();
    const std::string first = (folder / "first.bx2").string(), second = (folder / "second.bx2").string();
    ASSERT_EQ(
        0, runWith({"--seed", "4", "--generations", "30", "--set", "gridSizeX=20", "--save", first}).status);
    const Result r = runWith({"--profile", first, "--generations", "5", "--save", second});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.err);
    std::string error;
    const auto saved = parseProfile(second, error);
    ASSERT_TRUE(saved) << error;
    EXPECT_EQ(20, saved->options.gridSizeX);
    EXPECT_GE(saved->generation, 5); // counting on from the loaded generation (a dead world may reset it)

    // Its statistics rows go on from the saved generation, as the simulator's Export numbers them;
    // its frames are those of this run, from frame 1.
    const int32_t savedAt = parseProfile(first, error)->generation;
    const std::string stats = (folder / "c.csv").string(), frames = (folder / "frames").string();
    ASSERT_EQ(0, runWith({"--profile", first, "--generations", "3", "--stats", stats, "--frames", frames,
                          "--every", "3"})
                     .status);
    std::istringstream rows(readFile(stats));
    std::string row;
    std::getline(rows, row); // the header
    for (int32_t expected = savedAt + 1; std::getline(rows, row); ++expected)
        EXPECT_EQ(0u, row.rfind(std::to_string(expected) + ",", 0)) << row;
    EXPECT_EQ((std::vector<std::string>{"frame-000001.png"}), filesIn(frames));

    // A setting the file cannot keep is named, so that nobody expects a continued run to keep it.
    const Result unkept = runWith({"--profile", first, "--set", "blendOnOvertake=false", "--save", second});
    ASSERT_EQ(0, unkept.status) << unkept.err;
    EXPECT_NE(std::string::npos,
              unkept.err.find("warning: " + second + " does not keep blendOnOvertake=false"))
        << unkept.err;
}

TEST(app_test, options_from_a_profile_make_a_new_world_and_set_overrides_them) {
    const fs::path folder = freshFolder();
    const std::string saved = (folder / "saved.bx2").string(), made = (folder / "made.bx2").string();
    ASSERT_EQ(0, runWith({"--seed", "4", "--generations", "3", "--set", "gridSizeX=20", "--set",
                          "growthRate=9", "--save", saved})
                     .status);
    ASSERT_EQ(
        0, runWith({"--options-from", saved, "--set", "growthRate=7", "--generations", "0", "--save", made})
               .status);
    std::string error;
    const auto p = parseProfile(made, error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(20, p->options.gridSizeX);
    EXPECT_EQ(7, p->options.growthRate);
    EXPECT_EQ(0, p->generation);
}

TEST(app_test, profiles_of_another_version_load_with_a_warning_and_broken_ones_are_refused) {
    const fs::path folder = freshFolder();
    const std::string saved = (folder / "saved.bx2").string();
    ASSERT_EQ(0, runWith({"--seed", "1", "--generations", "1", "--save", saved}).status);
    std::string text = readFile(saved);
    text.replace(text.find("\"2.1\""), 5, "\"2.0\"");
    const fs::path old = folder / "old.bx2";
    std::ofstream(old, std::ios::binary) << text;
    for (const char* sw : {"--profile", "--options-from"}) {
        const Result r = runWith({sw, old.string(), "--generations", "1"});
        EXPECT_EQ(0, r.status) << sw;
        EXPECT_NE(std::string::npos, r.err.find("warning: " + old.string() + " was saved by Bramblex 2.0"))
            << r.err;
    }
    std::ofstream(folder / "broken.bx2", std::ios::binary) << text.substr(0, text.size() / 2);
    const Result broken = runWith({"--profile", (folder / "broken.bx2").string()});
    EXPECT_EQ(1, broken.status);
    EXPECT_NE(std::string::npos, broken.err.find("broken.bx2, line ")) << broken.err;
    EXPECT_EQ(2, runWith({"--profile", saved, "--options-from", saved}).status);
}

} // namespace
} // namespace bx::cli

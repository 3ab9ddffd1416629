// The golden world: a seeded run whose statistics and final profile are stored under
// tests/data/golden. A change that moves any seeded world, on purpose or not, shows here; make
// the files again with scripts/regenerate-golden.sh only when it is meant.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/app.h"

namespace {

namespace fs = std::filesystem;

const fs::path golden = fs::path(BRAMBLEX_TEST_DATA) / "golden";

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(golden_test, the_seeded_run_gives_the_stored_statistics_and_world_byte_for_byte) {
    std::vector<std::string> args;
    std::istringstream stored(readText(golden / "arguments"));
    for (std::string line; std::getline(stored, line);)
        args.push_back(line);
    const fs::path out = fs::path(::testing::TempDir()) / "bramblex_golden";
    fs::create_directories(out);
    args.insert(args.end(),
                {"--stats", (out / "world-stats.csv").string(), "--save", (out / "world.bx2").string()});
    std::ostringstream said, errors;
    ASSERT_EQ(0, bx::cli::runCommandLine(args, "/nonexistent", bx::cli::Console{said, errors, false}))
        << errors.str();
    EXPECT_TRUE(readText(golden / "world-stats.csv") == readText(out / "world-stats.csv"))
        << "statistics differ";
    EXPECT_TRUE(readText(golden / "world.bx2") == readText(out / "world.bx2")) << "worlds differ";
    fs::remove_all(out);
}

} // namespace

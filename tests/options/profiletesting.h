#pragma once
// What the profile tests share: the corpus, a simulator with a recording host, a scratch folder,
// files read and written whole, grids compared bit for bit, and what a failed load leaves alone.
#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "engine/random.h"
#include "engine/simulation.h"
#include "support/driverprobe.h"
#include "support/recordinghost.h"

namespace bx::test {

namespace fs = std::filesystem;

inline const fs::path profileData = fs::path(BRAMBLEX_TEST_DATA) / "profiles";

// A simulator with a recording host, built from the default options and then changed by configure.
struct TestSim {
    SimulationOptions options;
    WorldState world;
    RandomGenerator rng;
    test::RecordingHost host;
    test::RecordingCanvas canvas;
    Simulation sim{options, world, rng, host, canvas};

    explicit TestSim(uint64_t seed, const std::function<void(SimulationOptions&)>& configure = {})
        : rng(seed) {
        setDefaultOptions(options, simulatorMajorVersion, simulatorMinorVersion, "help");
        if (configure)
            configure(options);
    }
    auto& driver() { return DriverProbe::of(sim); }

    // Resets and ticks until the world is created.
    void create() {
        sim.reset();
        for (int i = 0; i < 100000 && world.phase == Phase::Create; ++i)
            sim.tick();
        ASSERT_NE(Phase::Create, world.phase);
    }
    void runGenerations(int32_t count) {
        sim.startStop();
        for (int i = 0; i < 1000000 && world.generation < count; ++i)
            sim.tick();
        ASSERT_GE(world.generation, count);
    }
};

// A scratch folder of its own for every test.
class TempFolder {
public:
    TempFolder() {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        path_ = fs::temp_directory_path() /
                ("bramblex-profile-" + std::string(info->name()) + "-" + std::to_string(::getpid()));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    fs::path operator/(const std::string& name) const { return path_ / name; }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(path_))
            out.push_back(e.path().filename().string());
        return out;
    }

private:
    fs::path path_;
};

inline std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline ::testing::AssertionResult sameBits(const Grid& expected, const Grid& actual) {
    if (expected.sizeX() != actual.sizeX() || expected.sizeY() != actual.sizeY())
        return ::testing::AssertionFailure() << "grid sizes differ";
    for (int x = 0; x <= expected.sizeX(); ++x)
        for (int y = 0; y <= expected.sizeY(); ++y)
            for (int ch = 0; ch < 3; ++ch) {
                // Column 0 and row 0 are not stored.
                const bool stored = x > 0 && y > 0;
                const bool wasWritten = stored && expected.written(x, y, ch);
                const uint64_t want = wasWritten ? std::bit_cast<uint64_t>(expected.channel(x, y, ch)) : 0;
                if (actual.written(x, y, ch) != wasWritten ||
                    std::bit_cast<uint64_t>(actual.channel(x, y, ch)) != want)
                    return ::testing::AssertionFailure()
                           << "cell (" << x << "," << y << "," << ch << ") differs";
            }
    return ::testing::AssertionSuccess();
}

// What a failed or declined load must leave as it was.
struct Snapshot {
    SimulationOptions options;
    int32_t counters[3];
    Grid envGrid, orgGrid;
    int cursors[6];
    Phase phase;
    int layouts;

    explicit Snapshot(const TestSim& t) : Snapshot(t, DriverProbe::of(t.sim)) {}
    template <class Driver>
    Snapshot(const TestSim& t, const Driver& d)
        : options(t.options), counters{t.world.organismCount, t.world.environmentCount, t.world.generation},
          envGrid(t.world.envGrid), orgGrid(t.world.orgGrid), cursors{d.squareX, d.squareY,    d.stepColumn,
                                                                      d.stepRow, d.drawColumn, d.drawRow},
          phase(t.world.phase), layouts(t.host.layouts) {}
    bool operator==(const Snapshot&) const = default;
};

} // namespace bx::test

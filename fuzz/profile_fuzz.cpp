// Fuzz target for the profile reader. Any input must either be refused with a message naming
// the input and a line, or read into a profile that the writer writes back and the reader reads
// again to the very same bits, in the very same text; the profile read must then load and run
// for a few generations, also in a grid of another size set after it (the sanitizers watch).
// Built as a libFuzzer target (fuzz/CMakeLists.txt) and into profile_tests, which replays the
// files under tests/data/profiles through the same check.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/simulation.h"
#include "options/profile.h"
#include "options/profileload.h"

namespace bx::fuzz {
namespace {

bool sameBits(const Grid& a, const Grid& b) {
    if (a.sizeX() != b.sizeX() || a.sizeY() != b.sizeY())
        return false;
    for (int x = 0; x <= a.sizeX(); ++x)
        for (int y = 0; y <= a.sizeY(); ++y)
            for (int ch = 0; ch < 3; ++ch)
                if (a.written(x, y, ch) != b.written(x, y, ch) ||
                    std::bit_cast<uint64_t>(a.channel(x, y, ch)) !=
                        std::bit_cast<uint64_t>(b.channel(x, y, ch)))
                    return false;
    return true;
}

// A host that counts the generations that end.
struct CountingHost : NullHost {
    int generations = 0;
    void generationEnded(bool) override { ++generations; }
};

// A grid size set after the profile, as bramblex-run's --set does, drawn from one byte of the
// input: 0 keeps the profile's.
int gridSizeOf(std::string_view input, std::size_t fromEnd, int kept) {
    if (input.size() < fromEnd)
        return kept;
    const auto byte = static_cast<unsigned char>(input[input.size() - fromEnd]);
    return byte == 0 ? kept : 1 + (byte - 1) % 100;
}

// Empty when the profile, loaded as the runner loads one, runs three generations that each end.
std::string loadedWorldBroken(Profile profile, std::string_view input) {
    SimulationOptions options;
    WorldState world;
    setDefaultOptions(options, simulatorMajorVersion, simulatorMinorVersion, "bramblex.hlp");
    RandomGenerator rng(1);
    CountingHost host;
    NullCanvas canvas;
    Simulation sim(options, world, rng, host, canvas);
    sim.startHeadless();
    loadProfile(std::move(profile), sim, [input](SimulationOptions& o) {
        o.gridSizeX = gridSizeOf(input, 1, o.gridSizeX);
        o.gridSizeY = gridSizeOf(input, 2, o.gridSizeY);
    });
    for (const Grid* g : {&world.envGrid, &world.orgGrid})
        if (g->sizeX() != options.gridSizeX || g->sizeY() != options.gridSizeY)
            return "loaded grids not sized by the options the world runs with";
    sim.continueLoadedWorld();
    // A generation is at most 101 columns of 101 passes; a dead world's creation adds a slice a seed.
    for (long ticks = 0; host.generations < 3; ++ticks) {
        if (ticks > 200000)
            return "a generation of the loaded world never ends";
        sim.tick();
    }
    return {};
}

} // namespace

// The text the writer gives for a profile as read.
std::string profileTextOf(const Profile& p) {
    SimulationOptions options = p.options;
    options.versionString = p.version;
    WorldState world;
    world.envGrid = p.envGrid;
    world.orgGrid = p.orgGrid;
    world.organismCount = p.organismCount;
    world.environmentCount = p.environmentCount;
    world.generation = p.generation;
    return profileText(options, world);
}

// Empty when the input keeps the contract, else what went wrong.
std::string profileContractBroken(std::string_view input) {
    const std::string name = "fuzz.bx2";
    std::string error;
    const std::optional<Profile> first = parseProfileText(std::string(input), name, error);
    if (!first)
        return error.rfind(name + ", line ", 0) == 0 ? "" : "refusal without file and line: " + error;
    if (!error.empty())
        return "loaded with an error message: " + error;
    const int keptX = std::min(first->options.gridSizeX, 100),
              keptY = std::min(first->options.gridSizeY, 100);
    if (first->envGrid.sizeX() != keptX || first->envGrid.sizeY() != keptY ||
        first->orgGrid.sizeX() != keptX || first->orgGrid.sizeY() != keptY)
        return "grids not sized by the file's grid size, up to 100";

    const std::string written = profileTextOf(*first);
    const std::optional<Profile> second = parseProfileText(written, name, error);
    if (!second)
        return "written profile does not read back: " + error;
    if (second->version != first->version || !(second->options == first->options) ||
        second->organismCount != first->organismCount ||
        second->environmentCount != first->environmentCount || second->generation != first->generation)
        return "options, version or counters changed in a round trip";
    if (!sameBits(second->envGrid, first->envGrid) || !sameBits(second->orgGrid, first->orgGrid))
        return "grid changed in a round trip";
    if (profileTextOf(*second) != written)
        return "writing the read-back profile gives another text";
    return loadedWorldBroken(*second, input);
}

} // namespace bx::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (!bx::fuzz::profileContractBroken(input).empty())
        std::abort();
    return 0;
}

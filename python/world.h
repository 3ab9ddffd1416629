#pragma once
// One world for the Python module: the runner's hidden simulation kept between calls, with every
// row of statistics it ran. Plain C++; the bindings (module.cpp) only translate.
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/runner.h"
#include "engine/options.h"
#include "engine/random.h"
#include "engine/simulation.h"
#include "engine/worldstate.h"
#include "options/optionfields.h"
#include "record/stats.h"

namespace bx::py {

using Settings = OptionSettings;
using bx::refusedSetting;

// The runner's host that also keeps the last counts shown (the two counts of the main window).
class WorldHost : public cli::RunnerHost {
public:
    using RunnerHost::RunnerHost;
    void showCounters(int32_t generation, int32_t organisms, int32_t environments) override;
    int32_t organisms() const { return organisms_; }
    int32_t environments() const { return environments_; }

private:
    int32_t organisms_ = 0;
    int32_t environments_ = 0;
};

class World {
public:
    // A new world from the defaults and `settings` (checked with refusedSetting first), or the
    // profile at profilePath continued with the settings applied after it. Throws
    // std::invalid_argument for a refused setting, std::runtime_error for a profile not loaded.
    World(std::optional<uint64_t> seed, const Settings& settings,
          const std::optional<std::string>& profilePath = std::nullopt);
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Runs on until `generations` more have ended, or until stopRequested says so at the end of
    // one; returns whether it stopped so.
    bool run(int64_t generations, const std::function<bool()>& stopRequested = {});

    // The seed the world was made with; none when it was seeded from the clock.
    std::optional<uint64_t> seed() const { return seed_; }
    const SimulationOptions& options() const { return options_; }
    const WorldState& state() const { return world_; }
    const WorldHost& host() const { return host_; }
    const std::string& savedVersion() const { return savedVersion_; }
    // The text bramblex-run --stats writes for the generations run so far.
    std::string statsCsv() const;
    // The picture bramblex-run --png paints; squareSize 1..maxSquareSize.
    std::string picturePng(int squareSize) const;
    // Writes the world as a profile, as --save does: "" or the reason.
    std::string save(const std::string& path) const;

    // Held by whoever runs or reads the world, so that threads may share one.
    std::mutex& mutex() { return mutex_; }

private:
    std::optional<uint64_t> seed_;
    SimulationOptions options_;
    WorldState world_;
    RandomGenerator rng_;
    std::vector<GenerationStats> rows_;
    WorldHost host_;
    cli::NullCanvas canvas_;
    Simulation sim_;
    std::string savedVersion_;
    std::mutex mutex_;
};

// Picture pixels per square edge, as bramblex-run's --square-size.
inline constexpr int maxSquareSize = 128;

} // namespace bx::py

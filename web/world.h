#pragma once
// One world for the page: bramblex-run's hidden simulation kept between frames, with the rows of
// statistics it ran, its picture painted as the simulator paints squares, and profiles as text.
// Plain C++; bindings.cpp only translates for JavaScript.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/runner.h"
#include "engine/options.h"
#include "engine/random.h"
#include "engine/readout.h"
#include "engine/simulation.h"
#include "engine/worldstate.h"
#include "options/optionfields.h"
#include "options/profile.h"
#include "record/stats.h"

namespace bx::web {

using Settings = OptionSettings;
using bx::refusedSetting;

class World {
public:
    // A new world from the defaults and the settings, or the profile continued with the settings
    // applied after it. The settings must have passed refusedSetting: the web build has no
    // exceptions, so everything that can be refused is checked before.
    World(uint64_t seed, const Settings& settings, std::optional<Profile> profile = std::nullopt);
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Runs until `generations` more have ended, a dead world reset and run on.
    void run(int64_t generations);

    uint64_t seed() const { return seed_; }
    const SimulationOptions& options() const { return options_; }
    const WorldState& state() const { return world_; }
    // Squares holding each layer as the last generation ended (its statistics row); before the
    // first, the counters the world was created or saved with.
    int32_t organisms() const { return rows_.empty() ? world_.organismCount : rows_.back().organisms; }
    int32_t environments() const {
        return rows_.empty() ? world_.environmentCount : rows_.back().environments;
    }
    int64_t generationsRun() const { return host_.generationsEnded(); }
    const std::string& savedVersion() const { return savedVersion_; }
    // The rows of the generations run so far (the population chart reads them).
    const std::vector<GenerationStats>& rows() const { return rows_; }

    // The text bramblex-run --stats writes for the generations run so far.
    std::string statsCsv() const;
    // The world as a profile, as bramblex-run --save writes it; "" with the reason in problem
    // when it holds a value no reader could take back.
    std::string profile(std::string& problem) const;

    // Paints the world as RGBA pixels, gridSizeX * squareSize by gridSizeY * squareSize, each
    // square as the simulator paints it with the layers shown; returns the pixels.
    const std::vector<uint8_t>& paint(int squareSize, bool showOrganisms, bool showEnvironment);
    // The read-out of the square under picture pixel (x, y).
    Readout inspect(int x, int y, int squareSize) const;

private:
    uint64_t seed_;
    SimulationOptions options_;
    WorldState world_;
    RandomGenerator rng_;
    std::vector<GenerationStats> rows_;
    cli::RunnerHost host_;
    cli::NullCanvas canvas_;
    Simulation sim_;
    std::string savedVersion_;
    std::vector<uint8_t> pixels_;
};

} // namespace bx::web

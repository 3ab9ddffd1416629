#pragma once
// Runs the simulator's own driver without windows: creation slices, no drawing (as with the
// display window hidden), then generation passes, a dead world reset as with prompts off.
#include <cstdint>
#include <functional>
#include <optional>

#include "cli/stats.h"
#include "engine/canvas.h"
#include "engine/host.h"
#include "engine/options.h"
#include "engine/random.h"
#include "engine/worldstate.h"

namespace bx::cli {

using GenerationCallback = std::function<void(const GenerationStats&)>;

// The runner's host: shows nothing, answers Yes to every question, and reports each finished
// generation with the counts the main window would show for it.
class RunnerHost : public NullHost {
  public:
    // withMeans: also take the mean layer colours (a sweep over the grid per generation).
    RunnerHost(const SimulationOptions& options, const WorldState& world, GenerationCallback onGeneration,
               bool withMeans);

    void showCounters(int32_t generation, int32_t organisms, int32_t environments) override;
    void generationEnded(bool worldWasReset) override;

    int64_t generationsEnded() const { return generationsEnded_; }
    int64_t resets() const { return resets_; }

  private:
    const SimulationOptions& options_;
    const WorldState& world_;
    GenerationCallback onGeneration_;
    bool withMeans_;
    GenerationStats pending_;
    int64_t generationsEnded_ = 0;
    int64_t resets_ = 0;
};

// Paints nothing: the run is hidden, so only reset's clear ever reaches it.
class NullCanvas : public Canvas {
  public:
    void clear() override {}
    void fillBox(double, double, double, double, PackedColour) override {}
};

struct RunSummary {
    int64_t generations = 0;
    int64_t resets = 0;
};

// Resets the world with the options as they are, then ticks until `generations` generations
// have ended, counting on across resets; with 0 it stops when creation is done.
// onGeneration (may be empty) hears of every finished generation.
RunSummary runWorld(SimulationOptions& options, WorldState& world, RandomSource& rng, int64_t generations,
                    const GenerationCallback& onGeneration, bool withMeans);

} // namespace bx::cli

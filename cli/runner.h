#pragma once
// Runs the simulator's own driver without windows: creation slices, no drawing (as with the
// display window hidden), then generation passes, a dead world reset as with prompts off.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/canvas.h"
#include "engine/host.h"
#include "engine/options.h"
#include "engine/random.h"
#include "engine/worldstate.h"
#include "options/profile.h"
#include "record/history.h"

namespace bx {
class Simulation;
}

namespace bx::cli {

using GenerationCallback = std::function<void(const GenerationStats&)>;

// How a run begins: a new world made from the options, or a saved simulation continued.
struct RunStart {
    std::optional<std::string> profilePath; // continue this profile instead of creating a world
    // Applied to the options after the profile is read and before its world is loaded, or before
    // the new world is created.
    std::function<void(SimulationOptions&)> adjustOptions;
    // Told the version a continued profile was saved with (the run loads any version).
    std::function<void(const std::string&)> onProfileVersion;
    // Asked at the end of every generation (and before the first) whether to stop there.
    std::function<bool()> stopRequested;
};

// The runner's host: shows nothing, answers Yes to every question, and reports each finished
// generation with the squares that hold each layer when it ended (GenerationRecorder).
class RunnerHost : public NullHost {
public:
    // withMeans: the rows carry the mean layer colours as well.
    RunnerHost(const SimulationOptions& options, const WorldState& world, GenerationCallback onGeneration,
               bool withMeans);

    void showCounters(int32_t generation, int32_t organisms, int32_t environments) override;
    void generationEnded(bool worldWasReset) override;
    Answer ask(const Question&) override { return Answer::Yes; }

    // The rows of a continued world go on from the generation it was saved at.
    void continueFrom(int64_t generation) { firstGeneration_ = generation; }
    // Generations ended in this run.
    int64_t generationsEnded() const { return generationsEnded_; }
    int64_t resets() const { return resets_; }

private:
    GenerationRecorder recorder_;
    GenerationCallback onGeneration_;
    int64_t firstGeneration_ = 0;
    int64_t generationsEnded_ = 0;
    int64_t resets_ = 0;
};

// The run is hidden, so only reset's clear ever reaches its canvas.
using bx::NullCanvas;

struct RunSummary {
    int64_t generations = 0;
    int64_t resets = 0;
    bool stopped = false; // ended early, when stopRequested said so
};

// Creates a new world from the options (or continues the profile of `start`), then ticks until
// `generations` generations have ended, counting on across resets, or until stopRequested says so
// at the end of one; with 0 it stops when the world is created or loaded. onGeneration (may be empty) hears
// of every finished generation, numbered on from a continued profile's generation. Throws std::runtime_error
// when the profile cannot be loaded.
RunSummary runWorld(SimulationOptions& options, WorldState& world, RandomSource& rng, int64_t generations,
                    const GenerationCallback& onGeneration, bool withMeans, const RunStart& start = {});

// The two halves of runWorld, for front ends that keep a world between runs (the Python module).
// startWorld creates the world (or loads the profile of `start`), hidden and running; throws
// std::runtime_error when the profile cannot be loaded.
void startWorld(Simulation& sim, RunnerHost& host, const RunStart& start);
// The same for a profile already read (the page's, which has no files): start.profilePath unused.
void startProfile(Simulation& sim, RunnerHost& host, Profile profile, const RunStart& start);
// Ticks until `host` has heard of `until` ended generations, or until stopRequested (may be
// empty) says so at the end of one; returns whether it stopped so.
bool runGenerations(Simulation& sim, const RunnerHost& host, int64_t until,
                    const std::function<bool()>& stopRequested);

} // namespace bx::cli

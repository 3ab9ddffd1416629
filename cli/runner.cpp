#include "runner.h"

#include <stdexcept>
#include <string>

#include "engine/simulation.h"
#include "options/profileload.h"

namespace bx::cli {

RunnerHost::RunnerHost(const SimulationOptions& options, const WorldState& world,
                       GenerationCallback onGeneration, bool withMeans)
    : recorder_(options, world, withMeans), onGeneration_(std::move(onGeneration)) {}

void RunnerHost::showCounters(int32_t generation, int32_t, int32_t) {
    recorder_.countersShown(generation);
}

// Rows are numbered by the generations of the run, counting on across resets and from the
// generation a continued world was saved at, as the simulator numbers a loaded world's.
void RunnerHost::generationEnded(bool worldWasReset) {
    ++generationsEnded_;
    if (worldWasReset)
        ++resets_;
    const GenerationStats row = recorder_.ended(firstGeneration_ + generationsEnded_, worldWasReset);
    if (onGeneration_)
        onGeneration_(row);
}

// A loaded world runs on from its generation.
static void continueLoaded(Simulation& sim, RunnerHost& host, const RunStart& start,
                           const std::string& version) {
    if (start.onProfileVersion)
        start.onProfileVersion(version);
    host.continueFrom(sim.world().generation);
    sim.continueLoadedWorld();
}

void startWorld(Simulation& sim, RunnerHost& host, const RunStart& start) {
    sim.startHeadless();
    if (start.profilePath) {
        std::string error;
        std::string version;
        if (readProfile(*start.profilePath, sim, error, &version, start.adjustOptions) == ProfileLoad::Failed)
            throw std::runtime_error(error);
        continueLoaded(sim, host, start, version);
    } else {
        if (start.adjustOptions)
            start.adjustOptions(sim.options());
        sim.reset();
        sim.createWorld(); // no pass yet: a run of 0 generations holds none of one
    }
}

void startProfile(Simulation& sim, RunnerHost& host, Profile profile, const RunStart& start) {
    sim.startHeadless();
    const std::string version = profile.version;
    loadProfile(std::move(profile), sim, start.adjustOptions); // the host says Yes to any version
    continueLoaded(sim, host, start, version);
}

bool runGenerations(Simulation& sim, const RunnerHost& host, int64_t until,
                    const std::function<bool()>& stopRequested) {
    const WorldState& world = sim.world();
    bool stopped = false;
    while (host.generationsEnded() < until && !(stopped = stopRequested && stopRequested())) {
        const int64_t next = host.generationsEnded() + 1;
        while (host.generationsEnded() < next) {
            // A dead world's reset goes back through creation; any other phase would never end a generation.
            if (world.phase != Phase::Run && world.phase != Phase::Create)
                throw std::runtime_error("the simulation stopped after " +
                                         std::to_string(host.generationsEnded()) + " generations");
            sim.tick();
        }
    }
    return stopped;
}

RunSummary runWorld(SimulationOptions& options, WorldState& world, RandomSource& rng, int64_t generations,
                    const GenerationCallback& onGeneration, bool withMeans, const RunStart& start) {
    RunnerHost host(options, world, onGeneration, withMeans);
    NullCanvas canvas;
    Simulation sim(options, world, rng, host, canvas);
    startWorld(sim, host, start);
    const bool stopped = runGenerations(sim, host, generations, start.stopRequested);
    return {host.generationsEnded(), host.resets(), stopped};
}

} // namespace bx::cli

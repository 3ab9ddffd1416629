#pragma once
#include <memory>

#include "driverprobe.h"
#include "engine/simulation.h"
#include "recordinghost.h"
#include "scriptedrandom.h"

namespace bx::test {

// A simulator without windows: default options, a recording host and canvas, and a random
// source of the test's choosing (scripted by default).
struct SimFixture {
    SimulationOptions options;
    WorldState world;
    ScriptedRandom scripted;
    std::unique_ptr<RandomSource> generator; // used instead of `scripted` when set
    RecordingHost host;
    RecordingCanvas canvas;
    std::unique_ptr<Simulation> sim;

    explicit SimFixture(std::unique_ptr<RandomSource> rng = nullptr) : generator(std::move(rng)) {
        setDefaultOptions(options, simulatorMajorVersion, simulatorMinorVersion, "bramblex.hlp");
        sim = std::make_unique<Simulation>(options, world, generator ? *generator : scripted, host, canvas);
    }

    auto& driver() { return DriverProbe::of(*sim); }

    // Ticks until the phase leaves `phase` (at most `limit` ticks); returns the ticks used.
    int tickWhile(Phase phase, int limit = 100000) {
        int n = 0;
        while (world.phase == phase && n < limit) {
            sim->tick();
            ++n;
        }
        return n;
    }
};

// A 10 x 10 world with three seeds of each layer being created, driven by a seeded generator.
struct SmallWorld : SimFixture {
    SmallWorld() : SimFixture(std::make_unique<RandomGenerator>(11)) {
        options.gridSizeX = options.gridSizeY = 10;
        options.startOrganisms = options.startEnvironments = 3;
        sim->reset();
    }
};

} // namespace bx::test

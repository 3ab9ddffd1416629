#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "engine/simulation.h"
#include "support/referencerings.h"

namespace {

class NoCanvas : public bx::Canvas {
public:
    bool frames = false;
    bool showsFrames() const override { return frames; }
    void clear() override {}
    void fillBox(double, double, double, double, bx::PackedColour) override {}
    // A frame's squares cost the display window its own fill (frameFill in the display bench).
    void paintColumn(int, int, const bx::SquareColours*, int, int, bool, bool) override {}
};

// A 100 x 100 world with an organism and an environment on every square, created and drawn.
struct FullWorld {
    bx::SimulationOptions options;
    bx::WorldState world;
    bx::RandomGenerator rng{1};
    bx::NullHost host;
    NoCanvas canvas;
    bx::Simulation sim{options, world, rng, host, canvas};

    FullWorld() {
        bx::setDefaultOptions(options, 2, 1, "help");
        options.gridSizeX = options.gridSizeY = 100;
        options.environmentStartMode = bx::StartFull;
        options.fullOrganisms = true;
        sim.startHeadless(); // as bramblex-run: no drawing
        sim.reset();
        while (world.phase == bx::Phase::Create)
            sim.tick();
    }
};

// Square updates (environment step, organism step, two asteroid rolls) on the full world.
void squareUpdates(benchmark::State& state) {
    FullWorld f;
    const bx::Grid env = f.world.envGrid, org = f.world.orgGrid;
    const bx::RuleParams p = bx::ruleParamsOf(f.options, env, org);
    int32_t envCount = 0, orgCount = 0, roll = 0;
    int64_t updates = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.world.envGrid = env; // keep both layers on every square
        f.world.orgGrid = org;
        state.ResumeTiming();
        for (int x = 1; x <= 100; ++x)
            for (int y = 1; y <= 100; ++y)
                bx::updateSquareLayers(f.world.envGrid, f.world.orgGrid, x, y, envCount, orgCount, p, f.rng,
                                       roll);
        updates += 10000;
    }
    state.SetItemsProcessed(updates);
}
BENCHMARK(squareUpdates)->Unit(benchmark::kMicrosecond);

// One whole generation through the driver (100 ticks at slowdown 0), starting from a full world.
void wholeGeneration(benchmark::State& state) {
    FullWorld f;
    const bx::Grid env = f.world.envGrid, org = f.world.orgGrid;
    for (auto _ : state) {
        state.PauseTiming();
        f.world.envGrid = env;
        f.world.orgGrid = org;
        const int32_t target = f.world.generation + 1;
        state.ResumeTiming();
        while (f.world.generation < target && f.world.phase == bx::Phase::Run)
            f.sim.tick();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(wholeGeneration)->Unit(benchmark::kMicrosecond);

// A hidden generation's square updates (100 columns of 100 rows, as the passes take them) with
// each build of the update's loop this processor runs, by its place in builtCpuVariants().
void hiddenGenerationByCpuVariant(benchmark::State& state) {
    const std::vector<bx::CpuVariant> built = bx::builtCpuVariants();
    if (std::size_t(state.range(0)) >= built.size() || !bx::cpuRuns(built[std::size_t(state.range(0))])) {
        state.SkipWithError("not built or not runnable here");
        return;
    }
    const bx::CpuVariant variant = built[std::size_t(state.range(0))];
    state.SetLabel(bx::cpuVariantName(variant));
    FullWorld f;
    const bx::Grid env = f.world.envGrid, org = f.world.orgGrid;
    const bx::RuleParams p = bx::ruleParamsOf(f.options, env, org);
    bx::RandomGenerator::Stream stream = f.rng.stream();
    for (auto _ : state) {
        state.PauseTiming();
        f.world.envGrid = env;
        f.world.orgGrid = org;
        state.ResumeTiming();
        bx::ColumnStretch stretch{f.world.envGrid, f.world.orgGrid};
        for (int x = 1; x <= 100; ++x) {
            stretch.column = x;
            stretch.row = 1;
            stream = bx::updateRows(variant, stretch, stream, p, 100);
        }
        benchmark::DoNotOptimize(stretch.organismCount);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(hiddenGenerationByCpuVariant)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The engine's part of showing a world: generations of a shown world whose canvas takes its
// squares a frame at a time (a frame every 33 generations, as at slowdown -5 on a 60 Hz
// screen) against a hidden one, taking turns.
void shownAndHiddenUpdate(benchmark::State& state) {
    FullWorld shown, hidden;
    shown.canvas.frames = true;
    shown.sim.setShown(true);
    double seconds[2] = {};
    for (auto _ : state)
        for (FullWorld* f : {&shown, &hidden}) {
            const auto start = std::chrono::steady_clock::now();
            const int32_t target = f->world.generation + 33;
            while (f->world.generation < target)
                f->sim.tick();
            f->sim.paintWaiting();
            seconds[f == &hidden] +=
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
    state.counters["shown_us_per_generation"] = seconds[0] / double(state.iterations()) / 33 * 1e6;
    state.counters["hidden_us_per_generation"] = seconds[1] / double(state.iterations()) / 33 * 1e6;
}
BENCHMARK(shownAndHiddenUpdate)->Unit(benchmark::kMillisecond)->Iterations(100);

// World creation of a default-size and a dense world: 2000 seeds, startup decay 1, blending.
void worldCreation(benchmark::State& state) {
    bx::SimulationOptions options;
    bx::WorldState world;
    bx::setDefaultOptions(options, 2, 1, "help");
    options.gridSizeX = options.gridSizeY = 100;
    options.startEnvironments = static_cast<int>(state.range(0));
    options.environmentStartDecay = static_cast<int>(state.range(1));
    bx::RandomGenerator rng(3);
    bx::NullHost host;
    NoCanvas canvas;
    bx::Simulation sim(options, world, rng, host, canvas);
    for (auto _ : state) {
        sim.reset();
        while (world.phase == bx::Phase::Create)
            sim.tick();
    }
}
BENCHMARK(worldCreation)->Args({10, 10})->Args({2000, 1})->Unit(benchmark::kMillisecond);

// The ring painter against the literal block scan on the same random seeds (decay 1, blending).
struct Seed {
    bx::SeedPosition position;
    bx::Rgb colour;
};

std::vector<Seed> randomSeeds(int n) {
    bx::RandomGenerator rng(9);
    std::vector<Seed> seeds;
    for (int i = 0; i < n; ++i) {
        const bx::SeedPosition p = bx::drawSeedPosition(100, 100, rng);
        seeds.push_back({p, bx::randomColour(rng)});
    }
    return seeds;
}

void ringPainter(benchmark::State& state) {
    const auto seeds = randomSeeds(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        bx::Grid grid(100, 100);
        for (const Seed& s : seeds)
            bx::paintSeedRings(grid, s.position, s.colour, 1, true, 100, 100, {});
        benchmark::DoNotOptimize(grid);
    }
}
BENCHMARK(ringPainter)->Arg(50)->Arg(2000)->Unit(benchmark::kMillisecond);

void literalRingLoop(benchmark::State& state) {
    const auto seeds = randomSeeds(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        bx::Grid grid(100, 100);
        for (const Seed& s : seeds)
            bx::test::literalSeedRings(grid, s.position, s.colour, 1, true, 100, 100);
        benchmark::DoNotOptimize(grid);
    }
}
BENCHMARK(literalRingLoop)->Arg(50)->Unit(benchmark::kMillisecond);
// The dense case the painter exists for: about half a minute, so run once.
BENCHMARK(literalRingLoop)->Arg(2000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

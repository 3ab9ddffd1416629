// Counts heap allocations made while a generation runs. Lives in its own executable because it
// replaces the global allocation functions.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "engine/simulation.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
} // namespace

void* operator new(std::size_t n) {
    if (counting)
        ++allocations;
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

class NoCanvas : public bx::Canvas {
public:
    void clear() override {}
    void fillBox(double, double, double, double, bx::PackedColour) override {}
};

TEST(alloc_test, generations_of_a_full_world_allocate_nothing) {
    bx::SimulationOptions options;
    bx::WorldState world;
    bx::setDefaultOptions(options, 2, 1, "help");
    options.gridSizeX = options.gridSizeY = 100;
    options.environmentStartMode = bx::StartFull;
    options.fullOrganisms = true;
    options.asteroidFrequency = options.mutationFrequency = 50; // exercise every branch
    bx::RandomGenerator rng(5);
    bx::NullHost host;
    NoCanvas canvas;
    bx::Simulation sim(options, world, rng, host, canvas);
    sim.reset();
    while (world.phase == bx::Phase::Create)
        sim.tick();
    sim.startStop(); // shown: the update paints every square it visits
    sim.tick();      // the first tick may settle anything lazily made
    counting = true;
    for (int i = 0; i < 300; ++i)
        sim.tick();
    counting = false;
    EXPECT_EQ(0, allocations.load());
    EXPECT_GE(world.generation, 2);
}

} // namespace

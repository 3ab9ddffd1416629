#pragma once
#include "engine/simulation.h"

namespace bx::test {

// The tests' one way to the driver's own state: where each phase stands, to check or to set up.
struct DriverProbe {
    static auto& of(Simulation& sim) { return sim.driver_; }
    static const auto& of(const Simulation& sim) { return sim.driver_; }
};

} // namespace bx::test

#pragma once
#include <functional>

#include "simulation.h"

namespace bx {

// Holds the simulation paused while it exists (the options window is open): its phase is parked,
// ticks do nothing, and the phase goes back when the hold ends. A command given while held runs
// on the live phase; once one replaces, starts or stops the world, that world goes on as it is
// and the hold has nothing left to put back.
class PauseHold {
public:
    explicit PauseHold(Simulation& sim);
    ~PauseHold();
    PauseHold(const PauseHold&) = delete;
    PauseHold& operator=(const PauseHold&) = delete;

    // Runs `command` with the parked phase put back; it returns whether it replaced or reset the
    // world. An unchanged world is parked again.
    void runLive(const std::function<bool()>& command);
    // Whether the hold still parks a phase.
    bool holding() const { return !released_; }

private:
    Simulation& sim_;
    bool released_ = false;
};

} // namespace bx

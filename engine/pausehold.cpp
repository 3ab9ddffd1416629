#include "pausehold.h"

namespace bx {

PauseHold::PauseHold(Simulation& sim) : sim_(sim) {
    sim_.pause();
}

PauseHold::~PauseHold() {
    if (!released_)
        sim_.resume();
}

void PauseHold::runLive(const std::function<bool()>& command) {
    if (released_) {
        command();
        return;
    }
    const WorldState& world = sim_.world();
    const bool wasRunning = world.running;
    const Phase parked = sim_.resume();
    const bool replaced = command();
    if (replaced || world.running != wasRunning || world.phase != parked)
        released_ = true;
    else
        sim_.pause();
}

} // namespace bx

#include <utility>

#include "simulation.h"

namespace bx {

void Simulation::cursorsAtFirstSquare() {
    driver_.squareX = driver_.squareY = 1;
    driver_.stepColumn = driver_.stepRow = driver_.drawColumn = driver_.drawRow = 1;
}

void Simulation::loadWorld(SavedWorld saved) {
    paintWaiting(); // the squares of the world being replaced
    world_.envGrid = std::move(saved.envGrid);
    world_.orgGrid = std::move(saved.orgGrid);
    // The options say how far every sweep goes: grids of another extent (options set after the
    // profile was read) are cut to it or padded with empty squares.
    world_.envGrid.resize(options_.gridSizeX, options_.gridSizeY);
    world_.orgGrid.resize(options_.gridSizeX, options_.gridSizeY);
    world_.organismCount = saved.organismCount;
    world_.environmentCount = saved.environmentCount;
    world_.generation = saved.generation;
    cursorsAtFirstSquare();
    if (world_.phase == Phase::Create) {
        // Creation would go on painting into the loaded world; the loaded world replaces it.
        world_.phase = Phase::Idle;
        driver_.saveAfterCreate = false;
        host_.setCreationCommandsEnabled(true);
    }
    host_.layoutWindows();
    refresh();
}

void Simulation::continueLoadedWorld() {
    const bool shown = std::exchange(world_.simulationShown, true);
    while (world_.phase == Phase::Draw)
        drawSlice(); // the last slice hands over to the update when the simulation runs
    world_.simulationShown = shown;
}

} // namespace bx

#pragma once
#include <cstdint>
#include <string>

#include "grid.h"

namespace bx {

// What the simulator's tick is doing: nothing, creating a world, drawing it, or updating it.
enum class Phase { Idle, Create, Draw, Run };

// What other layers see of the running simulation: the grids, the counters, the phase and how
// the world is shown. The owner keeps it and hands it to its Simulation, whose operations alone
// write it; windows, runner, recorder and profile writer read it through `const WorldState&`.
// The driver's cursors and scratch state are the Simulation's own.
struct WorldState {
    Grid orgGrid;
    Grid envGrid;

    int32_t organismCount = 0;
    int32_t environmentCount = 0;
    int32_t generation = 0;

    Phase phase = Phase::Idle;
    bool running = false;
    bool simulationShown = true;
    bool showOrganisms = true;
    bool showEnvironment = true;
    bool fullScreen = false;
    int squareSize = 8;           // square edge in pixels in the normal view
    int fullScreenSquareSize = 0; // square edge in pixels while fullScreen
    bool trackMouse = true;       // the current-square read-out follows the pointer
};

// What a saved simulation holds of its world: both grids and the counters it was saved with.
struct SavedWorld {
    Grid envGrid;
    Grid orgGrid;
    int32_t organismCount = 0;
    int32_t environmentCount = 0;
    int32_t generation = 0;
};

} // namespace bx

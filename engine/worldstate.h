#pragma once
#include <cstdint>
#include <string>

#include "grid.h"

namespace bx {

// Tick phases of the simulator.
enum Phase : int { PhaseIdle = 0, PhaseCreate = 1, PhaseDraw = 2, PhaseRun = 3 };

// The running simulation: grids, counters, phase, scan positions and view flags.
// Written by the Simulation's operations alone; windows, runner and profile code read it.
struct WorldState {
    Grid orgGrid;
    Grid envGrid;

    int32_t organismCount = 0;
    int32_t environmentCount = 0;
    int32_t generation = 0;

    int phase = PhaseIdle;
    int squareX = 0; // square being created, painted or updated; shared by the phases
    int squareY = 0;
    int drawColumn = 0;
    int drawRow = 0;
    int stepColumn = 0;
    int stepRow = 0;
    int organismsPlaced = 0;
    int environmentsPlaced = 0;
    int colourCycle = 0; // shared by every Primary and Choose pick; survives world resets
    Rgb paintColour;     // the colour being placed; an unknown colour scheme leaves it as it was

    bool running = false;
    bool simulationShown = true;
    bool showOrganisms = true;
    bool showEnvironment = true;
    bool fullScreen = false;
    int squareSize = 8;           // square edge in pixels in the normal view
    int fullScreenSquareSize = 0; // square edge in pixels while fullScreen
    int passesPerTick = 1;

    bool saveAfterCreate = false;
    int deathCount = 0; // consecutive lifeless generations; -1 once a dead world was handled

    // Current-square read-out: pointer position over the canvas in pixels, and the
    // position being inspected (pixels on entry, square column/row after inspection).
    bool trackMouse = true;
    int mouseX = 0;
    int mouseY = 0;
    int inspectX = 0;
    int inspectY = 0;

    int32_t chanceRoll = 0; // last 1-in-N roll
};

// What a saved simulation holds of its world: both grids and the counters it was saved with.
struct SavedWorld {
    Grid envGrid;
    Grid orgGrid;
    int32_t organismCount = 0;
    int32_t environmentCount = 0;
    int32_t generation = 0;
};

struct SimulationOptions;

// Sets every option to its default, builds the identity strings for the given version and
// help-file path (the record's own path may be passed), and returns the world state's
// program-start fields (view flags and scratch paint colour included) to their start values.
// The grids and counters are left to the next reset.
void setDefaultOptions(SimulationOptions& options, WorldState& world, int major, int minor,
                       std::string helpFilePath);

} // namespace bx

#include "numeric.h"
#include "readout.h"
#include "simulation.h"

namespace bx {

void Simulation::setSquareSize(int pixels) {
    world_.squareSize = pixels;
    world_.deathCount = 0;
}

void Simulation::fitSquaresTo(int widthPixels, int heightPixels) {
    while (widthPixels < world_.squareSize * options_.gridSizeX && world_.squareSize > 1)
        world_.squareSize = roundToInt(world_.squareSize / 2.0);
    while (heightPixels < options_.gridSizeY * world_.squareSize && world_.squareSize > 1)
        world_.squareSize = roundToInt(world_.squareSize / 2.0);
}

void Simulation::setShown(bool shown) {
    world_.simulationShown = world_.trackMouse = shown;
    if (shown)
        return;
    clearCurrentSquare();
    dropPendingRedraw();
}

void Simulation::dropPendingRedraw() {
    if (world_.running && world_.phase == PhaseDraw)
        world_.phase = PhaseRun;
}

void Simulation::enterFullScreen(int widthPixels, int heightPixels) {
    world_.trackMouse = false;
    clearCurrentSquare();
    world_.fullScreen = true;
    world_.fullScreenSquareSize = roundToInt(static_cast<double>(widthPixels) / options_.gridSizeX);
    const float h = static_cast<float>(heightPixels) / static_cast<float>(options_.gridSizeY);
    if (h < world_.fullScreenSquareSize)
        world_.fullScreenSquareSize = roundToInt(h);
}

void Simulation::leaveFullScreen() {
    world_.fullScreen = false;
    world_.trackMouse = true;
}

void Simulation::setOrganismsShown(bool shown) {
    world_.showOrganisms = shown;
}

void Simulation::setEnvironmentShown(bool shown) {
    world_.showEnvironment = shown;
}

void Simulation::setPassesPerTick(int passes) {
    world_.passesPerTick = passes;
}

void Simulation::pointerMoved(int x, int y) {
    if (!world_.trackMouse)
        return;
    world_.inspectX = world_.mouseX = x;
    world_.inspectY = world_.mouseY = y;
    showCurrentSquare();
}

void Simulation::showCurrentSquare() {
    const Readout r = inspectSquare(world_.inspectX, world_.inspectY, world_.squareSize, options_.gridSizeX,
                                    options_.gridSizeY, world_.orgGrid, world_.envGrid);
    world_.inspectX = r.column;
    world_.inspectY = r.row;
    host_.showReadout(r);
}

void Simulation::clearCurrentSquare() {
    host_.clearReadout();
}

} // namespace bx

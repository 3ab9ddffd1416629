#include "numeric.h"
#include "readout.h"
#include "simulation.h"

namespace bx {

void Simulation::setSquareSize(int pixels) {
    world_.squareSize = pixels;
    driver_.deathCount = 0;
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
    if (world_.running && world_.phase == Phase::Draw)
        world_.phase = Phase::Run;
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
    driver_.passesPerTick = passes;
}

void Simulation::pointerMoved(int x, int y) {
    if (!world_.trackMouse)
        return;
    driver_.inspectX = driver_.mouseX = x;
    driver_.inspectY = driver_.mouseY = y;
    showCurrentSquare();
}

void Simulation::showCurrentSquare() {
    const Readout r = inspectSquare(driver_.inspectX, driver_.inspectY, world_.squareSize, options_.gridSizeX,
                                    options_.gridSizeY, world_.orgGrid, world_.envGrid);
    driver_.inspectX = r.column;
    driver_.inspectY = r.row;
    host_.showReadout(r);
}

void Simulation::clearCurrentSquare() {
    host_.clearReadout();
}

} // namespace bx

#include "caption.h"
#include "painting.h"
#include "simulation.h"

namespace bx {

void Simulation::paintSquare() {
    const int c = world_.squareX, r = world_.squareY;
    if (!world_.orgGrid.contains(c, r) || !world_.envGrid.contains(c, r))
        return;
    const int size = world_.fullScreen ? world_.fullScreenSquareSize : world_.squareSize;
    canvas_.paintSquare(c, r, size, world_.orgGrid.at(c, r), world_.envGrid.at(c, r), world_.showOrganisms,
                        world_.showEnvironment);
}

void Simulation::drawSlice() {
    int passes = world_.passesPerTick;
    if (!world_.simulationShown)
        return;
    paintWaiting(); // painted before the squares drawn over them
    const int lastRow = options_.gridSizeY;
    while (passes > 0) {
        if (!world_.fullScreen && world_.simulationShown)
            host_.setDisplayCaption(
                (Caption() << "Drawing world, " << world_.drawColumn << " of " << options_.gridSizeX << ".")
                    .view());
        int budget = passBudget(lastRow, options_.slowdown);
        while (world_.drawRow < lastRow + 1 && budget > 0) {
            world_.squareX = world_.drawColumn;
            world_.squareY = world_.drawRow;
            paintSquare();
            --budget;
            ++world_.drawRow;
        }
        if (world_.drawRow >= lastRow + 1) {
            world_.drawRow = 0;
            ++world_.drawColumn;
            if (world_.drawColumn >= options_.gridSizeX + 1) {
                world_.phase = PhaseIdle;
                passes = 0;
                host_.setTimerEnabled(false);
                if (world_.running) {
                    world_.phase = PhaseRun;
                    host_.setTimerEnabled(true);
                }
                if (!world_.fullScreen && world_.simulationShown)
                    host_.setDisplayCaption(options_.displayTitle);
                world_.squareX = world_.squareY = 0;
            }
        }
        --passes;
    }
}

} // namespace bx

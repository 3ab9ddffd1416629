#include "caption.h"
#include "painting.h"
#include "simulation.h"

namespace bx {

void Simulation::paintSquare() {
    const int c = driver_.squareX, r = driver_.squareY;
    if (!world_.orgGrid.contains(c, r) || !world_.envGrid.contains(c, r))
        return;
    const int size = world_.fullScreen ? world_.fullScreenSquareSize : world_.squareSize;
    canvas_.paintSquare(c, r, size, world_.orgGrid.at(c, r), world_.envGrid.at(c, r), world_.showOrganisms,
                        world_.showEnvironment);
}

void Simulation::drawSlice() {
    int passes = driver_.passesPerTick;
    if (!world_.simulationShown)
        return;
    paintWaiting(); // painted before the squares drawn over them
    const int lastRow = options_.gridSizeY;
    while (passes > 0) {
        if (!world_.fullScreen && world_.simulationShown)
            host_.setDisplayCaption(
                (Caption() << "Drawing world, " << driver_.drawColumn << " of " << options_.gridSizeX << ".")
                    .view());
        int budget = passBudget(lastRow, options_.slowdown);
        while (driver_.drawRow < lastRow + 1 && budget > 0) {
            driver_.squareX = driver_.drawColumn;
            driver_.squareY = driver_.drawRow;
            paintSquare();
            --budget;
            ++driver_.drawRow;
        }
        if (driver_.drawRow >= lastRow + 1) {
            driver_.drawRow = 0;
            ++driver_.drawColumn;
            if (driver_.drawColumn >= options_.gridSizeX + 1) {
                world_.phase = Phase::Idle;
                passes = 0;
                host_.setTimerEnabled(false);
                if (world_.running) {
                    world_.phase = Phase::Run;
                    host_.setTimerEnabled(true);
                }
                if (!world_.fullScreen && world_.simulationShown)
                    host_.setDisplayCaption(options_.displayTitle);
                driver_.squareX = driver_.squareY = 0;
            }
        }
        --passes;
    }
}

} // namespace bx

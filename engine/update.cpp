#include "caption.h"
#include "simulation.h"

namespace bx {

void Simulation::updateSquare(const RuleParams& params) {
    updateSquareLayers(world_.envGrid, world_.orgGrid, world_.squareX, world_.squareY, world_.environmentCount,
                       world_.organismCount, params, rng_, world_.chanceRoll);
    if (world_.simulationShown)
        paintSquare();
}

void Simulation::runSimulationPasses() {
    int passesLeft = world_.passesPerTick;
    while (passesLeft > 0) {
        rng_.reseed();
        const RuleParams params = ruleParamsOf(options_, world_.envGrid, world_.orgGrid);
        int stepsLeft = passBudget(params.gridSizeY, options_.slowdown);
        while (world_.stepRow < params.gridSizeY + 1 && stepsLeft > 0) {
            world_.squareY = world_.stepRow;
            updateSquare(params);
            --stepsLeft;
            ++world_.stepRow;
        }
        if (world_.stepRow >= params.gridSizeY + 1)
            endOfColumn();
        --passesLeft;
    }
    if (world_.trackMouse) {
        world_.inspectX = world_.mouseX;
        world_.inspectY = world_.mouseY;
        showCurrentSquare();
    }
}

void Simulation::endOfColumn() {
    world_.stepRow = 1;
    showProgress((Caption() << "Running " << world_.stepColumn + 1 << " of " << options_.gridSizeX << ".").view());
    ++world_.stepColumn;
    world_.squareX = world_.stepColumn;
    if (world_.stepColumn >= options_.gridSizeX)
        endOfGeneration();
}

// Returns whether the world was reset or re-seeded.
bool Simulation::handleDeadWorld() {
    if (world_.fullScreen) {
        world_.deathCount = -1;
        restartCreation();
        return true;
    }
    if (options_.promptOnDeath) {
        const Question q{"Reset simulation?",
                         "The world seems to be dead.\nNo life was seen last update\nDo you want to reset the simulation?",
                         MessageIcon::Information, DefaultButton::Yes, help::deadWorld, options_.helpFilePath};
        if (host_.ask(q) != Answer::Yes)
            return false;
    }
    world_.deathCount = -1;
    reset();
    return true;
}

void Simulation::endOfGeneration() {
    ++world_.generation;
    host_.showCounters(world_.generation, world_.organismCount, world_.environmentCount);
    const bool handled = world_.deathCount == 1 && handleDeadWorld();
    if (world_.organismCount == 0 && world_.environmentCount == 0)
        ++world_.deathCount;
    world_.organismCount = world_.environmentCount = 0;
    world_.squareY = 1;
    world_.stepColumn = 0;
    host_.generationEnded(handled);
}

} // namespace bx

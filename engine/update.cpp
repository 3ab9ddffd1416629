#include "caption.h"
#include "simulation.h"

namespace bx {

template <class Rng> void Simulation::updateSquare(Rng& rng, const RuleParams& params) {
    updateSquareLayers(world_.envGrid, world_.orgGrid, world_.squareX, world_.squareY, world_.environmentCount,
                       world_.organismCount, params, rng, world_.chanceRoll);
    if (world_.simulationShown)
        paintSquare();
}

// One pass: up to stepsLeft squares of the current column, never past its end.
template <class Rng> void Simulation::updatePass(Rng& rng, const RuleParams& params, int stepsLeft) {
    while (world_.stepRow < params.gridSizeY + 1 && stepsLeft > 0) {
        world_.squareY = world_.stepRow;
        updateSquare(rng, params);
        --stepsLeft;
        ++world_.stepRow;
    }
}

void Simulation::runSimulationPasses() {
    int passesLeft = world_.passesPerTick;
    while (passesLeft > 0) {
        rng_.reseed();
        const RuleParams params = ruleParamsOf(options_, world_.envGrid, world_.orgGrid);
        const int stepsLeft = passBudget(params.gridSizeY, options_.slowdown);
        if (auto* generator = dynamic_cast<RandomGenerator*>(&rng_)) {
            RandomGenerator::Stream stream = generator->stream();
            updatePass(stream, params, stepsLeft);
            generator->adopt(stream);
        } else {
            updatePass(rng_, params, stepsLeft);
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

#include <algorithm>
#include <cstdint>

#include "caption.h"
#include "simulation.h"

namespace bx {

// One pass: up to stepsLeft squares of the current column, never past its end. The generator
// (a Stream taken by value, or a RandomSource by reference), the counters and the row are kept
// in locals for the pass so that the compiler can hold them in registers; the loop is built
// twice so that the hidden world's loop has no call in it to force them back into memory. A
// shown pass queues its squares out here: the two loops then differ only by the ear for writes,
// and the shown one is compiled as tightly as the hidden one.
template <class Rng> Rng Simulation::updatePass(Rng rng, const RuleParams& params, int stepsLeft) {
    if (!world_.simulationShown)
        return updateRows<false, Rng>(rng, params, stepsLeft, 0);
    const int row = driver_.stepRow;
    const int passEnd = std::min(row + std::max(stepsLeft, 0), params.gridSizeY + 1);
    const uint64_t base = queueSquares(driver_.squareX, row, passEnd - row) - uint64_t(row);
    rng = updateRows<true, Rng>(rng, params, stepsLeft, base);
    if (!canvas_.showsFrames())
        paintWaiting();
    return rng;
}

namespace {

// The shown world's ear for writes during a pass: a queued square that another square's update
// overwrites keeps the colours its own update left. The update of square (x, y) of the pass
// has queue number `base + y`; a square numbered from there on has its own update still to come.
struct QueueWrites {
    PaintQueue& queue;
    const Grid& envGrid;
    const Grid& orgGrid;
    uint64_t base;
    void operator()(int, int y, int tx, int ty) const {
        queue.overwriting(tx, ty, base + uint64_t(y), orgGrid, envGrid);
    }
};

} // namespace

template <bool painted, class Rng>
Rng Simulation::updateRows(Rng rng, const RuleParams& params, int stepsLeft, [[maybe_unused]] uint64_t base) {
    int32_t environments = world_.environmentCount, organisms = world_.organismCount;
    int32_t chanceRoll = driver_.chanceRoll;
    Grid& envGrid = world_.envGrid;
    Grid& orgGrid = world_.orgGrid;
    const int column = driver_.squareX;
    int row = driver_.stepRow;
    for (; row < params.gridSizeY + 1 && stepsLeft > 0; ++row, --stepsLeft) {
        if constexpr (painted)
            updateSquareLayers(envGrid, orgGrid, column, row, environments, organisms, params, rng,
                               chanceRoll, QueueWrites{waiting_, envGrid, orgGrid, base});
        else
            updateSquareLayers(envGrid, orgGrid, column, row, environments, organisms, params, rng,
                               chanceRoll);
    }
    if (row != driver_.stepRow)
        driver_.squareY = row - 1;
    driver_.stepRow = row;
    world_.environmentCount = environments;
    world_.organismCount = organisms;
    driver_.chanceRoll = chanceRoll;
    return rng;
}

// A queue that fits the pass and both grids, in the look the squares are painted with now.
uint64_t Simulation::queueSquares(int column, int firstRow, int count) {
    if (count <= 0)
        return 0;
    const PaintQueue::Look look{world_.fullScreen ? world_.fullScreenSquareSize : world_.squareSize,
                                world_.showOrganisms, world_.showEnvironment};
    const int lastRow = firstRow + count - 1;
    const int lastColumn = std::max({world_.orgGrid.sizeX(), world_.envGrid.sizeX(), column});
    const int bottomRow = std::max({world_.orgGrid.sizeY(), world_.envGrid.sizeY(), lastRow});
    if (!waiting_.fits(column, firstRow, look) || !waiting_.fits(lastColumn, bottomRow, look)) {
        paintWaiting();
        waiting_.restart(lastColumn + 1, bottomRow + 1, look);
    }
    return waiting_.addColumn(column, firstRow, count);
}

void Simulation::paintWaiting() {
    if (waiting_.empty())
        return;
    const PaintQueue::Look look = waiting_.look();
    waiting_.takeAll(world_.orgGrid, world_.envGrid,
                     [this, &look](int column, int firstRow, const SquareColours* colours, int count) {
                         canvas_.paintColumn(column, firstRow, colours, count, look.size, look.organisms,
                                             look.environments);
                     });
}

void Simulation::clearCanvas() {
    waiting_.drop();
    canvas_.clear();
}

void Simulation::runSimulationPasses() {
    int passesLeft = driver_.passesPerTick;
    while (passesLeft > 0 && stepState_ != Step::Ended) {
        rng_.reseed();
        const RuleParams params = ruleParamsOf(options_, world_.envGrid, world_.orgGrid);
        const int stepsLeft = passBudget(params.gridSizeY, options_.slowdown);
        if (streamable_)
            streamable_->adopt(updatePass(streamable_->stream(), params, stepsLeft));
        else
            updatePass<RandomSource&>(rng_, params, stepsLeft);
        if (driver_.stepRow >= params.gridSizeY + 1)
            endOfColumn();
        --passesLeft;
    }
    if (stepState_ == Step::Ended)
        stepState_ = Step::None;
    if (world_.trackMouse) {
        driver_.inspectX = driver_.mouseX;
        driver_.inspectY = driver_.mouseY;
        showCurrentSquare();
    }
}

void Simulation::endOfColumn() {
    driver_.stepRow = 1;
    showProgress(
        (Caption() << "Running " << driver_.stepColumn + 1 << " of " << options_.gridSizeX << ".").view());
    ++driver_.stepColumn;
    // A loaded one-column world starts its sweep past its only column; the sweep stays inside.
    driver_.squareX = std::min(driver_.stepColumn, options_.gridSizeX);
    if (driver_.stepColumn >= options_.gridSizeX)
        endOfGeneration();
}

// Returns whether the world was reset or re-seeded.
bool Simulation::handleDeadWorld() {
    if (world_.fullScreen) {
        driver_.deathCount = -1;
        restartCreation();
        return true;
    }
    if (options_.promptOnDeath) {
        const Question q{
            "Reset simulation?",
            "The world seems to be dead.\nNo life was seen last update\nDo you want to reset the simulation?",
            MessageIcon::Information,
            DefaultButton::Yes,
            help::deadWorld,
            options_.helpFilePath};
        if (host_.ask(q) != Answer::Yes)
            return false;
    }
    driver_.deathCount = -1;
    reset();
    return true;
}

void Simulation::endOfGeneration() {
    ++world_.generation;
    host_.showCounters(world_.generation, world_.organismCount, world_.environmentCount);
    const bool handled = driver_.deathCount == 1 && handleDeadWorld();
    if (world_.organismCount == 0 && world_.environmentCount == 0)
        ++driver_.deathCount;
    world_.organismCount = world_.environmentCount = 0;
    driver_.squareY = 1;
    driver_.stepColumn = 0;
    host_.generationEnded(handled);
    if (stepState_ == Step::Running)
        endStep();
}

} // namespace bx

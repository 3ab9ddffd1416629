#include <algorithm>
#include <bit>
#include <cstdint>

#include "caption.h"
#include "simulation.h"

namespace bx {

// One pass: up to stepsLeft squares of the current column, never past its end. The generator
// (a Stream taken by value, or a RandomSource by reference), the counters and the row are kept
// in locals for the pass so that the compiler can hold them in registers; the loop is built
// twice so that the hidden world's loop has no call in it to force them back into memory.
template <class Rng> Rng Simulation::updatePass(Rng rng, const RuleParams& params, int stepsLeft) {
    return world_.simulationShown ? updateRows<true, Rng>(rng, params, stepsLeft)
                                  : updateRows<false, Rng>(rng, params, stepsLeft);
}

namespace {

// The shown world's ear for writes during a pass: a square of the pass that a later square's
// update overwrites (an overtake upwards, an asteroid) is kept as its own update left it, so
// that the pass paints what each square's update left, as if it painted each square at once.
struct PassWrites {
    const Grid& envGrid;
    const Grid& orgGrid;
    int column, firstRow;
    PassOverwrite*& next;
    void operator()(int, int y, int tx, int ty) const {
        if (tx == column && ty >= firstRow && ty < y)
            *next++ = {ty, {packColour(orgGrid.at(tx, ty)), packColour(envGrid.at(tx, ty))}};
    }
};

// packColour in a form the compiler can vectorize: adding 1.5 * 2^52 to a component (any value
// of magnitude below 2^31) rounds it to the nearest integer, ties to even, as lrint does, into
// the low 32 bits of the sum.
inline uint32_t roundedComponent(double v) {
    return static_cast<uint32_t>(std::bit_cast<uint64_t>(v + 0x1.8p52));
}
inline PackedColour packColourOfPass(const Rgb& c) {
    return roundedComponent(c.red) + 256 * roundedComponent(c.green) + 65536 * roundedComponent(c.blue);
}

} // namespace

template <bool painted, class Rng>
Rng Simulation::updateRows(Rng rng, const RuleParams& params, int stepsLeft) {
    int32_t environments = world_.environmentCount, organisms = world_.organismCount;
    int32_t chanceRoll = world_.chanceRoll;
    Grid& envGrid = world_.envGrid;
    Grid& orgGrid = world_.orgGrid;
    const int column = world_.squareX;
    const int firstRow = world_.stepRow;
    int row = firstRow;
    [[maybe_unused]] PassOverwrite* next = nullptr;
    if constexpr (painted) {
        // Each square's update writes at most four squares besides its own.
        const auto most =
            4 * static_cast<std::size_t>(std::max(std::min(stepsLeft, params.gridSizeY + 1 - row), 0));
        if (passOverwrites_.size() < most)
            passOverwrites_.resize(most);
        next = passOverwrites_.data();
    }
    for (; row < params.gridSizeY + 1 && stepsLeft > 0; ++row, --stepsLeft) {
        if constexpr (painted)
            updateSquareLayers(envGrid, orgGrid, column, row, environments, organisms, params, rng,
                               chanceRoll, PassWrites{envGrid, orgGrid, column, firstRow, next});
        else
            updateSquareLayers(envGrid, orgGrid, column, row, environments, organisms, params, rng,
                               chanceRoll);
    }
    if constexpr (painted) {
        keepPassColours(column, firstRow, row - firstRow, next);
        paintPass(column, firstRow, row - firstRow);
    }
    if (row != world_.stepRow)
        world_.squareY = row - 1;
    world_.stepRow = row;
    world_.environmentCount = environments;
    world_.organismCount = organisms;
    world_.chanceRoll = chanceRoll;
    return rng;
}

// The squares' colours as the grids hold them at the end of the pass, but for those overwritten
// after their own update: the first overwrite kept what that update left.
void Simulation::keepPassColours(int column, int firstRow, int count, const PassOverwrite* end) {
    if (count <= 0)
        return;
    if (passColours_.size() < static_cast<std::size_t>(count))
        passColours_.resize(static_cast<std::size_t>(count));
    const Rgb* organisms = &world_.orgGrid.at(column, firstRow);
    const Rgb* environments = &world_.envGrid.at(column, firstRow);
    SquareColours* colours = passColours_.data();
    for (int i = 0; i < count; ++i)
        colours[i] = {packColourOfPass(organisms[i]), packColourOfPass(environments[i])};
    for (const PassOverwrite* o = end; o != passOverwrites_.data();) {
        --o;
        colours[o->row - firstRow] = o->colours;
    }
}

void Simulation::paintPass(int column, int firstRow, int count) {
    if (count <= 0)
        return;
    const int size = world_.fullScreen ? world_.fullScreenSquareSize : world_.squareSize;
    const int lastRow = firstRow + count - 1;
    const auto inBoth = [this, column](int row) {
        return world_.orgGrid.contains(column, row) && world_.envGrid.contains(column, row);
    };
    if (inBoth(firstRow) && inBoth(lastRow)) {
        canvas_.paintColumn(column, firstRow, passColours_.data(), count, size, world_.showOrganisms,
                            world_.showEnvironment);
        return;
    }
    for (int i = 0; i < count; ++i) // a column outside the grids: what lies inside, as paintSquare does
        if (inBoth(firstRow + i))
            canvas_.paintColumn(column, firstRow + i, &passColours_[std::size_t(i)], 1, size,
                                world_.showOrganisms, world_.showEnvironment);
}

void Simulation::runSimulationPasses() {
    int passesLeft = world_.passesPerTick;
    while (passesLeft > 0 && stepState_ != Step::Ended) {
        rng_.reseed();
        const RuleParams params = ruleParamsOf(options_, world_.envGrid, world_.orgGrid);
        const int stepsLeft = passBudget(params.gridSizeY, options_.slowdown);
        if (streamable_)
            streamable_->adopt(updatePass(streamable_->stream(), params, stepsLeft));
        else
            updatePass<RandomSource&>(rng_, params, stepsLeft);
        if (world_.stepRow >= params.gridSizeY + 1)
            endOfColumn();
        --passesLeft;
    }
    if (stepState_ == Step::Ended)
        stepState_ = Step::None;
    if (world_.trackMouse) {
        world_.inspectX = world_.mouseX;
        world_.inspectY = world_.mouseY;
        showCurrentSquare();
    }
}

void Simulation::endOfColumn() {
    world_.stepRow = 1;
    showProgress(
        (Caption() << "Running " << world_.stepColumn + 1 << " of " << options_.gridSizeX << ".").view());
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
    if (stepState_ == Step::Running)
        endStep();
}

} // namespace bx

#include <algorithm>
#include <cstdint>

#include "caption.h"
#include "simulation.h"
#include "updaterows.h"

// Variants for newer x86-64 processors are built with GCC's target attribute (clang's support
// for the level names differs, and its builds are the fuzzing and sanitizer ones).
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define BX_CPU_VARIANTS 1
#else
#define BX_CPU_VARIANTS 0
#endif

namespace bx {
namespace {

// The shown world's writes during a pass, told to its paint queue: a queued square that another
// square's update overwrites keeps the colours its own update left. The update of square (x, y)
// of the pass has queue number `base + y`; a square numbered from there on has its own update
// still to come.
struct QueueWrites {
    PaintQueue& queue;
    const Grid& envGrid;
    const Grid& orgGrid;
    uint64_t base;
    void operator()(int, int y, int tx, int ty) const {
        queue.overwriting(tx, ty, base + uint64_t(y), orgGrid, envGrid);
    }
};

// The pass loop. The generator (a Stream taken by value, or a RandomSource by reference), the
// counters and the row are kept in locals so that the compiler can hold them in registers; the
// loop is built twice so that the hidden world's has no call in it to force them back into
// memory, and the shown one, differing only by its writes, is compiled as tightly. Always
// inlined: each variant below compiles it for its own target.
template <bool painted, class Rng>
[[gnu::always_inline]] inline Rng rowsLoop(ColumnStretch& stretch, Rng rng, const RuleParams& params,
                                           int stepsLeft, PaintQueue* queue, uint64_t base) {
    int32_t environments = stretch.environmentCount, organisms = stretch.organismCount;
    int32_t chanceRoll = stretch.chanceRoll;
    Grid& envGrid = stretch.envGrid;
    Grid& orgGrid = stretch.orgGrid;
    const int column = stretch.column;
    int row = stretch.row;
    for (; row < params.gridSizeY + 1 && stepsLeft > 0; ++row, --stepsLeft) {
        if constexpr (painted)
            updateSquareLayers(envGrid, orgGrid, column, row, environments, organisms, params, rng,
                               chanceRoll, QueueWrites{*queue, envGrid, orgGrid, base});
        else
            updateSquareLayers(envGrid, orgGrid, column, row, environments, organisms, params, rng,
                               chanceRoll);
    }
    stretch.row = row;
    stretch.environmentCount = environments;
    stretch.organismCount = organisms;
    stretch.chanceRoll = chanceRoll;
    return rng;
}

template <bool painted, class Rng>
Rng baselineRows(ColumnStretch& stretch, Rng rng, const RuleParams& params, int stepsLeft, PaintQueue* queue,
                 uint64_t base) {
    return rowsLoop<painted, Rng>(stretch, rng, params, stepsLeft, queue, base);
}

#if BX_CPU_VARIANTS
template <bool painted, class Rng>
[[gnu::target("arch=x86-64-v2")]] Rng v2Rows(ColumnStretch& stretch, Rng rng, const RuleParams& params,
                                             int stepsLeft, PaintQueue* queue, uint64_t base) {
    return rowsLoop<painted, Rng>(stretch, rng, params, stepsLeft, queue, base);
}

template <bool painted, class Rng>
[[gnu::target("arch=x86-64-v3")]] Rng v3Rows(ColumnStretch& stretch, Rng rng, const RuleParams& params,
                                             int stepsLeft, PaintQueue* queue, uint64_t base) {
    return rowsLoop<painted, Rng>(stretch, rng, params, stepsLeft, queue, base);
}
#endif

template <bool painted, class Rng>
Rng variantRows(CpuVariant variant, ColumnStretch& stretch, Rng rng, const RuleParams& params, int stepsLeft,
                PaintQueue* queue, uint64_t base) {
    switch (variant) {
#if BX_CPU_VARIANTS
    case CpuVariant::X86_64_V3:
        return v3Rows<painted, Rng>(stretch, rng, params, stepsLeft, queue, base);
    case CpuVariant::X86_64_V2:
        return v2Rows<painted, Rng>(stretch, rng, params, stepsLeft, queue, base);
#endif
    default: // a variant this build did not make: the caller took it from builtCpuVariants()
        return baselineRows<painted, Rng>(stretch, rng, params, stepsLeft, queue, base);
    }
}

} // namespace

std::vector<CpuVariant> builtCpuVariants() {
    if (BX_CPU_VARIANTS)
        return {CpuVariant::Baseline, CpuVariant::X86_64_V2, CpuVariant::X86_64_V3};
    return {CpuVariant::Baseline};
}

const char* cpuVariantName(CpuVariant variant) {
    switch (variant) {
    case CpuVariant::X86_64_V2:
        return "x86-64-v2";
    case CpuVariant::X86_64_V3:
        return "x86-64-v3";
    case CpuVariant::Baseline:
        break;
    }
    return "baseline";
}

bool cpuRuns(CpuVariant variant) {
#if BX_CPU_VARIANTS
    __builtin_cpu_init(); // may run before the runtime's own initialization (static constructors)
    if (variant == CpuVariant::X86_64_V3)
        return __builtin_cpu_supports("x86-64-v3");
    if (variant == CpuVariant::X86_64_V2)
        return __builtin_cpu_supports("x86-64-v2");
#endif
    return variant == CpuVariant::Baseline;
}

CpuVariant bestCpuVariant() {
    const std::vector<CpuVariant> built = builtCpuVariants();
    for (auto v = built.rbegin(); v != built.rend(); ++v)
        if (cpuRuns(*v))
            return *v;
    return CpuVariant::Baseline;
}

template <class Rng>
Rng updateRows(CpuVariant variant, ColumnStretch& stretch, Rng rng, const RuleParams& params, int stepsLeft,
               PaintQueue* queue, uint64_t base) {
    if (queue)
        return variantRows<true, Rng>(variant, stretch, rng, params, stepsLeft, queue, base);
    return variantRows<false, Rng>(variant, stretch, rng, params, stepsLeft, queue, base);
}

template RandomGenerator::Stream updateRows<RandomGenerator::Stream>(CpuVariant, ColumnStretch&,
                                                                     RandomGenerator::Stream,
                                                                     const RuleParams&, int, PaintQueue*,
                                                                     uint64_t);
template RandomSource& updateRows<RandomSource&>(CpuVariant, ColumnStretch&, RandomSource&, const RuleParams&,
                                                 int, PaintQueue*, uint64_t);

// One pass: up to stepsLeft squares of the current column, never past its end. A shown pass
// queues its squares first, so that the loop only tells the queue of squares it overwrites.
template <class Rng> Rng Simulation::updatePass(Rng rng, const RuleParams& params, int stepsLeft) {
    ColumnStretch stretch{world_.envGrid,          world_.orgGrid,       driver_.squareX,   driver_.stepRow,
                          world_.environmentCount, world_.organismCount, driver_.chanceRoll};
    PaintQueue* queue = nullptr;
    uint64_t base = 0;
    if (world_.simulationShown) {
        const int row = driver_.stepRow;
        const int passEnd = std::min(row + std::max(stepsLeft, 0), params.gridSizeY + 1);
        base = queueSquares(driver_.squareX, row, passEnd - row) - uint64_t(row);
        queue = &waiting_;
    }
    Rng after = updateRows<Rng>(cpuVariant_, stretch, rng, params, stepsLeft, queue, base);
    if (stretch.row != driver_.stepRow)
        driver_.squareY = stretch.row - 1;
    driver_.stepRow = stretch.row;
    world_.environmentCount = stretch.environmentCount;
    world_.organismCount = stretch.organismCount;
    driver_.chanceRoll = stretch.chanceRoll;
    if (queue && !canvas_.showsFrames())
        paintWaiting();
    return after;
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

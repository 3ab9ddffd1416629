#pragma once
// The generation update's inner loop, built once from one template for each x86-64 level the
// build targets (CpuVariant), so that a caller can run any of them by name: the Simulation runs
// the best its processor supports, the tests every one the processor can run. Every variant
// gives the same bits (no fused multiply-add anywhere, see the top CMakeLists.txt).
#include <cstdint>
#include <vector>

#include "grid.h"
#include "layerrules.h"
#include "paintqueue.h"
#include "random.h"

namespace bx {

enum class CpuVariant { Baseline, X86_64_V2, X86_64_V3 };

// The variants this build made, Baseline first (Baseline alone off x86-64 or with clang).
std::vector<CpuVariant> builtCpuVariants();
// "baseline", "x86-64-v2", "x86-64-v3".
const char* cpuVariantName(CpuVariant variant);
// Whether this processor can run the variant (Baseline always).
bool cpuRuns(CpuVariant variant);
// The newest variant built that this processor can run.
CpuVariant bestCpuVariant();

// What one pass works on: squares (column, row), (column, row + 1), … of both grids, and the
// counters and last one-in-n roll its square updates add to and leave. The pass leaves `row`
// at the first square it did not update.
struct ColumnStretch {
    Grid& envGrid;
    Grid& orgGrid;
    int column = 0;
    int row = 0;
    int32_t environmentCount = 0;
    int32_t organismCount = 0;
    int32_t chanceRoll = 0;
};

// Updates up to stepsLeft squares of the stretch, never past row params.gridSizeY, with the
// given variant (one the processor runs). Rng is a RandomGenerator::Stream (taken and returned
// by value: it lives in registers for the loop) or RandomSource&. With a queue, the squares are
// a shown world's, already queued with numbers base + row: a queued square that another
// square's update overwrites keeps its colours for painting (PaintQueue::overwriting).
template <class Rng>
Rng updateRows(CpuVariant variant, ColumnStretch& stretch, Rng rng, const RuleParams& params, int stepsLeft,
               PaintQueue* queue = nullptr, uint64_t base = 0);

extern template RandomGenerator::Stream updateRows<RandomGenerator::Stream>(CpuVariant, ColumnStretch&,
                                                                            RandomGenerator::Stream,
                                                                            const RuleParams&, int,
                                                                            PaintQueue*, uint64_t);
extern template RandomSource& updateRows<RandomSource&>(CpuVariant, ColumnStretch&, RandomSource&,
                                                        const RuleParams&, int, PaintQueue*, uint64_t);

} // namespace bx

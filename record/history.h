#pragma once
// The statistics of a simulation as it runs: taking each finished generation's figures, and
// keeping them in memory.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/options.h"
#include "engine/worldstate.h"
#include "record/stats.h"

namespace bx {

// Takes the figures of each finished generation as a simulation's host hears of them. A row
// counts the squares of the world as it stands when the generation ends (each square once, at
// most the number of squares), not the engine's counters: those add up as the update sweeps the
// columns, so a world loaded half-way through a generation, or a sweep that a redraw moved, gives
// counts of no one generation. The end of a generation shows its counters, and the world is
// taken then: before a dead world's reset empties it. The row is complete once the generation
// has ended.
class GenerationRecorder {
public:
    // withMeans: the rows carry the mean layer colours as well (0 without).
    GenerationRecorder(const SimulationOptions& options, const WorldState& world, bool withMeans);
    // SimulationHost::showCounters was told of `generation`; generation 0 (reset, creation) is no
    // finished one. The last one shown before a generation ends is that generation's end.
    void countersShown(int32_t generation);
    // What SimulationHost::generationEnded is told: the finished generation's row, as `number`,
    // or as the generation the end of it showed.
    GenerationStats ended(int64_t number, bool worldWasReset);
    GenerationStats ended(bool worldWasReset) { return ended(shownGeneration_, worldWasReset); }
    // The world as it stands, as the row of `generation`: the squares that hold each layer counted.
    GenerationStats standing(int64_t generation) const;

private:
    const SimulationOptions& options_;
    const WorldState& world_;
    bool withMeans_;
    GenerationStats pending_;
    int64_t shownGeneration_ = 0;
};

// The rows of a run in memory, bounded: once there are more than `limit`, every other row is
// dropped and from then on only every second row is kept (then every fourth, …), so the rows stay
// evenly spread over the whole history and a day at full speed stays within a few MB. The newest
// row is always at hand as well.
class StatsHistory {
public:
    explicit StatsHistory(std::size_t limit = 10000) : limit_(limit) {}
    void add(const GenerationStats& row);
    void clear();
    // The kept rows, then the newest one when it was not kept.
    std::vector<GenerationStats> rows() const;
    // How many generations one kept row stands for.
    int64_t stride() const { return stride_; }
    // Changed since the last call (a new row kept, or cleared).
    bool takeChanged();
    // The rows as --stats writes them: the header, then a line per row.
    std::string csv() const;

private:
    std::size_t limit_;
    std::vector<GenerationStats> kept_;
    GenerationStats newest_;
    int64_t added_ = 0;
    int64_t stride_ = 1;
    bool changed_ = false;
};

} // namespace bx

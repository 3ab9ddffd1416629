#pragma once
// The statistics of a simulation as it runs: taking each finished generation's figures, and
// keeping them in memory.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/options.h"
#include "engine/worldstate.h"
#include "record/stats.h"

namespace bx {

// Takes the figures of each finished generation as a simulation's host hears of them. The end of
// a generation shows its counts, and the means are taken then: before a dead world's reset shows
// zeros. The row is complete once the generation has ended.
class GenerationRecorder {
public:
    // withMeans: also take the mean layer colours (a sweep over the grid per generation).
    GenerationRecorder(const SimulationOptions& options, const WorldState& world, bool withMeans);
    // What SimulationHost::showCounters is told; generation 0 (reset, creation) is no finished one.
    void countersShown(int32_t generation, int32_t organisms, int32_t environments);
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
    // The world the rows start from (a new world's generation 0, a loaded world's generation):
    // charted before them, but no row of the CSV, which holds finished generations.
    void setStart(const GenerationStats& row);
    const std::optional<GenerationStats>& start() const { return start_; }
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
    std::optional<GenerationStats> start_;
    std::vector<GenerationStats> kept_;
    GenerationStats newest_;
    int64_t added_ = 0;
    int64_t stride_ = 1;
    bool changed_ = false;
};

} // namespace bx

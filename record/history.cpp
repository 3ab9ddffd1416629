#include "history.h"

#include <utility>

namespace bx {

GenerationRecorder::GenerationRecorder(const SimulationOptions& options, const WorldState& world,
                                       bool withMeans)
    : options_(options), world_(world), withMeans_(withMeans) {}

void GenerationRecorder::countersShown(int32_t generation) {
    if (generation <= 0)
        return;
    shownGeneration_ = generation;
    pending_ = standing(generation);
    if (!withMeans_)
        pending_.organismMean = pending_.environmentMean = {};
}

GenerationStats GenerationRecorder::ended(int64_t number, bool worldWasReset) {
    GenerationStats row = pending_;
    row.generation = number;
    row.reset = worldWasReset;
    pending_ = {};
    return row;
}

GenerationStats GenerationRecorder::standing(int64_t generation) const {
    const LayerSummary organisms = summarizeLayer(world_.orgGrid, options_.gridSizeX, options_.gridSizeY);
    const LayerSummary environments = summarizeLayer(world_.envGrid, options_.gridSizeX, options_.gridSizeY);
    GenerationStats row;
    row.generation = generation;
    row.organisms = static_cast<int32_t>(organisms.present);
    row.environments = static_cast<int32_t>(environments.present);
    row.organismMean = organisms.mean;
    row.environmentMean = environments.mean;
    return row;
}

// Row n (counting from 1) is kept while n is a multiple of the stride.
void StatsHistory::add(const GenerationStats& row) {
    newest_ = row;
    changed_ = true;
    if (++added_ % stride_ != 0)
        return;
    kept_.push_back(row);
    if (kept_.size() <= limit_)
        return;
    stride_ *= 2;
    std::size_t kept = 0;
    for (std::size_t i = 1; i < kept_.size(); i += 2) // rows 2, 4, 6, … of the old stride
        kept_[kept++] = kept_[i];
    kept_.resize(kept);
}

void StatsHistory::clear() {
    kept_.clear();
    added_ = 0;
    stride_ = 1;
    changed_ = true;
}

std::vector<GenerationStats> StatsHistory::rows() const {
    std::vector<GenerationStats> all = kept_;
    if (added_ > 0 && added_ % stride_ != 0)
        all.push_back(newest_);
    return all;
}

bool StatsHistory::takeChanged() {
    return std::exchange(changed_, false);
}

std::string StatsHistory::csv() const {
    std::string out = statsCsvHeader() + '\n';
    for (const GenerationStats& row : rows())
        out += statsCsvRow(row) + '\n';
    return out;
}

} // namespace bx

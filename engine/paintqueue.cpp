#include "paintqueue.h"

#include <algorithm>

namespace bx {

void PaintQueue::restart(int columns, int rows, const Look& look) {
    look_ = look;
    columns_ = columns;
    rows_ = rows;
    last_.assign(std::size_t(columns) * std::size_t(rows), 0);
    kept_.assign(last_.size(), SquareColours{});
    forgetRuns();
}

uint64_t PaintQueue::addColumn(int column, int firstRow, int count) {
    const std::size_t start = slot(column, firstRow);
    for (int i = 0; i < count; ++i)
        last_[start + std::size_t(i)] = clock_ + 1 + uint64_t(i);
    int& latest = latest_[std::size_t(column)];
    if (latest >= 0) {
        Run& before = runs_[std::size_t(latest)];
        if (before.firstRow >= firstRow && before.firstRow + before.count <= firstRow + count)
            before.count = 0;
    }
    latest = int(runs_.size());
    runs_.push_back({clock_ + 1, column, firstRow, count});
    clock_ += uint64_t(count);
    if (runs_.size() >= compactAt_)
        compact();
    return clock_ + 1 - uint64_t(count);
}

const SquareColours* PaintQueue::coloursOf(const Run& run, int from, int to, const Grid& organisms,
                                           const Grid& environments) {
    if (colours_.size() < std::size_t(to - from))
        colours_.resize(std::size_t(to - from));
    const Rgb* org = &organisms.at(run.column, run.firstRow + from);
    const Rgb* env = &environments.at(run.column, run.firstRow + from);
    for (int i = 0; i < to - from; ++i) {
        const std::size_t square = slot(run.column, run.firstRow + from + i);
        colours_[std::size_t(i)] = last_[square] & keptMark
                                       ? kept_[square]
                                       : SquareColours{packColourOf(org[i]), packColourOf(env[i])};
    }
    return colours_.data();
}

bool PaintQueue::live(const Run& run) const {
    for (int i = 0; i < run.count; ++i)
        if (lastQueuedBy(run, i))
            return true;
    return false;
}

void PaintQueue::compact() {
    std::size_t kept = 0;
    std::fill(latest_.begin(), latest_.end(), -1);
    for (const Run& run : runs_) {
        if (!live(run))
            continue;
        latest_[std::size_t(run.column)] = int(kept);
        runs_[kept++] = run;
    }
    runs_.resize(kept);
    // Every run kept holds a square of its own: the queue stays within a few runs a square.
    compactAt_ = 2 * kept + 2 * std::size_t(columns_) + 64;
}

void PaintQueue::forgetRuns() {
    runs_.clear();
    latest_.assign(std::size_t(columns_), -1);
    firstQueued_ = clock_ + 1;
    compactAt_ = 2 * std::size_t(columns_) + 64;
}

} // namespace bx

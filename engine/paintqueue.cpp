#include "paintqueue.h"

#include <algorithm>

namespace bx {

void PaintQueue::restart(int columns, int rows, const Look& look) {
    look_ = look;
    columns_ = columns;
    rows_ = rows;
    colours_.assign(std::size_t(columns) * std::size_t(rows), SquareColours{});
    last_.assign(colours_.size(), 0);
    forgetRuns();
}

void PaintQueue::addColumn(int column, int firstRow, const SquareColours* squares, int count) {
    const std::size_t start = slot(column, firstRow);
    std::copy_n(squares, count, colours_.begin() + std::ptrdiff_t(start));
    for (int i = 0; i < count; ++i)
        last_[start + std::size_t(i)] = queued_ + uint64_t(i);
    int& latest = latest_[std::size_t(column)];
    if (latest >= 0) {
        Run& before = runs_[std::size_t(latest)];
        if (before.firstRow >= firstRow && before.firstRow + before.count <= firstRow + count)
            before.count = 0;
    }
    latest = int(runs_.size());
    runs_.push_back({queued_, column, firstRow, count});
    queued_ += uint64_t(count);
    if (runs_.size() >= compactAt_)
        compact();
}

bool PaintQueue::live(const Run& run) const {
    for (int i = 0; i < run.count; ++i)
        if (last_[slot(run.column, run.firstRow + i)] == run.first + uint64_t(i))
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

// The numbers start again: a square's number is read only in the run that queued it last.
void PaintQueue::forgetRuns() {
    runs_.clear();
    latest_.assign(std::size_t(columns_), -1);
    queued_ = 0;
    compactAt_ = 2 * std::size_t(columns_) + 64;
}

} // namespace bx

#pragma once
// Squares to be painted later, for a canvas that shows a frame at a time: each square queued is
// kept once, with the colours it was last queued with, in the order of its last queuing. Painted
// out in that order, the squares leave the pixels exactly as painting each at once would have
// (a square's box overlaps its neighbours' by a pixel: the one painted last wins), at the cost
// of one paint a square a frame however often it changed.
#include <cstdint>
#include <vector>

#include "canvas.h"
#include "colour.h"

namespace bx {

class PaintQueue {
public:
    // How squares are painted: all squares queued together share it.
    struct Look {
        int size = 0;
        bool organisms = true, environments = true;
        bool operator==(const Look&) const = default;
    };
    struct Square {
        int column, row;
        PackedColour organism, environment;
    };

    // Whether square (column, row) painted with `look` may join the queue.
    bool fits(int column, int row, const Look& look) const {
        return look == look_ && column >= 0 && row >= 0 && column < columns_ && row < rows_;
    }
    // An empty queue for squares of columns × rows (from 0) painted with `look`.
    void restart(int columns, int rows, const Look& look);
    // Queues a square that fits().
    void add(int column, int row, PackedColour organism, PackedColour environment) {
        const SquareColours square{organism, environment};
        addColumn(column, row, &square, 1);
    }
    // Queues count squares of a column from firstRow down, in that order; the first and last fit().
    void addColumn(int column, int firstRow, const SquareColours* squares, int count);
    bool empty() const { return runs_.empty(); }
    const Look& look() const { return look_; }
    // Hands each queued square to paint once, in the order of its last queuing; then empty.
    template <class Paint> void takeAll(Paint&& paint) {
        for (const Run& run : runs_)
            for (int i = 0; i < run.count; ++i) {
                const std::size_t index = slot(run.column, run.firstRow + i);
                if (last_[index] == run.first + uint64_t(i))
                    paint(Square{run.column, run.firstRow + i, colours_[index].organism,
                                 colours_[index].environment});
            }
        forgetRuns();
    }
    // Forgets what is queued (the canvas was cleared).
    void drop() { forgetRuns(); }

private:
    // Squares queued together, numbered from `first` in the order of queuing. A run that a later
    // run of its column covers whole has count 0: a world queued column by column over and over
    // leaves about a live run a column however many generations wait.
    struct Run {
        uint64_t first;
        int column, firstRow, count;
    };
    std::size_t slot(int column, int row) const {
        return std::size_t(column) * std::size_t(rows_) + std::size_t(row);
    }
    bool live(const Run& run) const;
    // Drops the runs none of whose squares was queued last by them.
    void compact();
    void forgetRuns();
    Look look_;
    int columns_ = 0, rows_ = 0;
    std::vector<SquareColours> colours_; // column by column: a run down a column is one copy
    std::vector<uint64_t> last_;         // the number of each square's latest queuing
    std::vector<Run> runs_;
    std::vector<int> latest_; // each column's latest run, -1 for none
    uint64_t queued_ = 0;     // squares queued since the queue was last empty
    std::size_t compactAt_ = 0;
};

} // namespace bx

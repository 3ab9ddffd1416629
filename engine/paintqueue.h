#pragma once
// The squares a shown world's passes updated since they were last painted, for a canvas that
// shows a frame at a time. A pass queues its squares as it begins; their colours are read from
// the grids only when the queue is painted out, so a square updated many times between frames
// costs its colours once. A queued square that another square's update overwrites after its own
// update keeps the colours it had then, which are its own update's. Painted out in the order of
// their last queuing, the squares leave the pixels exactly as painting each at its update would
// have (a square's box overlaps its neighbours' by a pixel: the one painted last wins).
//
// The numbering, worked through. Every queuing takes the next number of the clock; a square
// remembers the number of its latest queuing (last_), and a run the first number of its squares.
// Take a world of rows 1 to 3, the queue just emptied with the clock at 0 (firstQueued_ = 1):
//   pass A queues column 2, rows 1 to 3: numbers 1, 2, 3 (run A, first 1); the clock is at 3.
//     Square (2, 3)'s update (writer 3) overtakes (2, 2), numbered 2: 2 < 3, so (2, 2)'s own
//     update is done and its colours now are the ones to paint; they are kept (kept_) and its
//     number marked (2 | keptMark), above every writer, so no later write keeps them again.
//     Square (2, 2)'s update (writer 2) had overtaken (2, 3) before: 3 >= 2, its own update was
//     still to come, nothing was kept.
//   pass B queues column 3, rows 1 to 3: numbers 4, 5, 6 (run B); the clock is at 6. Square
//     (3, 1)'s update (writer 4) overtakes (2, 1), numbered 1: kept and marked as well.
//   takeAll paints run A, then run B, each square whose latest queuing is the run's (its number,
//     mark aside, is the run's first plus its place): (2, 1) and (2, 2) with their kept colours,
//     (2, 3) and column 3 with the grids' colours now. The queue is empty; firstQueued_ = 7, so
//     numbers 1 to 6 read as not queued from here on.
// Had a pass C queued column 2, rows 1 to 3, again before takeAll (numbers 7, 8, 9), those
// squares' numbers would have dropped their marks (their colours are run C's to paint, as the
// grids then hold them), and run A, covered whole by run C, would have count 0: nothing of it is
// painted.
#include <bit>
#include <cstdint>
#include <vector>

#include "canvas.h"
#include "colour.h"
#include "grid.h"

namespace bx {

class PaintQueue {
public:
    // How squares are painted: all squares queued together share it.
    struct Look {
        int size = 0;
        bool organisms = true, environments = true;
        bool operator==(const Look&) const = default;
    };

    // Whether square (column, row) painted with `look` may join the queue.
    bool fits(int column, int row, const Look& look) const {
        return look == look_ && column >= 0 && row >= 0 && column < columns_ && row < rows_;
    }
    // An empty queue for squares of columns × rows (from 0) painted with `look`.
    void restart(int columns, int rows, const Look& look);
    // Queues count squares of a column from firstRow down, about to be updated in that order;
    // the first and last fit(). Returns the first one's number; the others follow it.
    uint64_t addColumn(int column, int firstRow, int count);
    // Square (column, row), inside the queue and in both grids, is about to be overwritten by
    // the update of the square numbered `writer`: if it is queued, its own update is done (it
    // was numbered before the writer) and it is untouched since, its colours now are the ones to
    // paint.
    void overwriting(int column, int row, uint64_t writer, const Grid& organisms, const Grid& environments) {
        const std::size_t square = slot(column, row);
        const uint64_t queuing = last_[square]; // a kept square's, marked, is above every writer
        if (queuing >= firstQueued_ && queuing < writer) {
            kept_[square] = {packColourOf(organisms.at(column, row)),
                             packColourOf(environments.at(column, row))};
            last_[square] = queuing | keptMark;
        }
    }
    bool empty() const { return runs_.empty(); }
    const Look& look() const { return look_; }
    // Hands paint(column, firstRow, colours, count) the queued squares, runs down a column in
    // the order of their last queuing, each once; squares outside a grid are left out. Then
    // the queue is empty.
    template <class Paint> void takeAll(const Grid& organisms, const Grid& environments, Paint&& paint) {
        for (const Run& run : runs_) {
            int from = 0;
            for (int i = 0; i <= run.count; ++i)
                if (i == run.count || !paintable(run, i, organisms, environments)) {
                    if (i > from)
                        paint(run.column, run.firstRow + from,
                              coloursOf(run, from, i, organisms, environments), i - from);
                    from = i + 1;
                }
        }
        forgetRuns();
    }
    // Forgets what is queued (the canvas was cleared).
    void drop() { forgetRuns(); }

private:
    // packColour in a form the compiler can vectorize: adding 1.5 * 2^52 to a component (any
    // value of magnitude below 2^31) rounds it to the nearest integer, ties to even, as lrint
    // does, into the low 32 bits of the sum.
    static PackedColour packColourOf(const Rgb& c) {
        return roundedComponent(c.red) + 256 * roundedComponent(c.green) + 65536 * roundedComponent(c.blue);
    }
    // Squares queued together, numbered from `first` in the order of queuing. A run that a later
    // run of its column covers whole has count 0: a world queued column by column over and over
    // leaves about a live run a column however many generations wait.
    struct Run {
        uint64_t first;
        int column, firstRow, count;
    };
    static uint32_t roundedComponent(double v) {
        return static_cast<uint32_t>(std::bit_cast<uint64_t>(v + 0x1.8p52));
    }
    std::size_t slot(int column, int row) const {
        return std::size_t(column) * std::size_t(rows_) + std::size_t(row);
    }
    bool lastQueuedBy(const Run& run, int i) const {
        return (last_[slot(run.column, run.firstRow + i)] & ~keptMark) == run.first + uint64_t(i);
    }
    bool paintable(const Run& run, int i, const Grid& organisms, const Grid& environments) const {
        return lastQueuedBy(run, i) && organisms.contains(run.column, run.firstRow + i) &&
               environments.contains(run.column, run.firstRow + i);
    }
    // The colours of squares from..to (excluded) of a run, all paintable.
    const SquareColours* coloursOf(const Run& run, int from, int to, const Grid& organisms,
                                   const Grid& environments);
    bool live(const Run& run) const;
    // Drops the runs none of whose squares was queued last by them.
    void compact();
    void forgetRuns();
    Look look_;
    int columns_ = 0, rows_ = 0;
    // Per square, column by column: the number of its latest queuing, marked once an overwrite
    // has kept its colours since; a number from before the queue was last emptied reads as not
    // queued. The colours kept apart, so that a pass numbers its squares with a few wide stores.
    static constexpr uint64_t keptMark = uint64_t(1) << 63;
    std::vector<uint64_t> last_;
    std::vector<SquareColours> kept_;
    std::vector<SquareColours> colours_; // a run's colours as handed to paint
    std::vector<Run> runs_;
    std::vector<int> latest_;  // each column's latest run, -1 for none
    uint64_t clock_ = 0;       // the last number given to a queuing
    uint64_t firstQueued_ = 1; // the first number given since the queue was last empty
    std::size_t compactAt_ = 0;
};

} // namespace bx

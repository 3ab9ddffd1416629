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
        const auto index = static_cast<uint32_t>(column * rows_ + row);
        slots_[index] = {organism, environment, static_cast<uint32_t>(order_.size())};
        order_.push_back(index);
        if (order_.size() >= compactAt())
            compact();
    }
    // Queues count squares of a column from firstRow down, in that order; the first and last fit().
    void addColumn(int column, int firstRow, const SquareColours* squares, int count) {
        const std::size_t start = order_.size();
        order_.resize(start + std::size_t(count));
        uint32_t* place = order_.data() + start;
        auto index = static_cast<uint32_t>(column * rows_ + firstRow);
        for (int i = 0; i < count; ++i, ++index) {
            slots_[index] = {squares[i].organism, squares[i].environment, static_cast<uint32_t>(start + i)};
            place[i] = index;
        }
        if (order_.size() >= compactAt())
            compact();
    }
    bool empty() const { return order_.empty(); }
    const Look& look() const { return look_; }
    // Hands each queued square to paint once, in the order of its last queuing; then empty.
    template <class Paint> void takeAll(Paint&& paint) {
        for (std::size_t i = 0; i < order_.size(); ++i) {
            const Slot& s = slots_[order_[i]];
            if (s.last == i)
                paint(Square{int(order_[i] / uint32_t(rows_)), int(order_[i] % uint32_t(rows_)), s.organism,
                             s.environment});
        }
        order_.clear();
    }
    // Forgets what is queued (the canvas was cleared).
    void drop() { order_.clear(); }

private:
    // Drops the places of squares queued again since: the queue stays within a few times the
    // squares, and a world queued whole over and over is compacted once every few generations.
    void compact();
    std::size_t compactAt() const { return 4 * slots_.size() + 64; }
    struct Slot {
        PackedColour organism, environment;
        uint32_t last; // the square's latest place in order_
    };
    Look look_;
    int columns_ = 0, rows_ = 0;
    std::vector<Slot> slots_;     // column by column, so that a run down a column is written in order
    std::vector<uint32_t> order_; // squares as queued, latest last
};

} // namespace bx

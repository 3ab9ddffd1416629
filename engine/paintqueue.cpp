#include "paintqueue.h"

namespace bx {

void PaintQueue::restart(int columns, int rows, const Look& look) {
    look_ = look;
    columns_ = columns;
    rows_ = rows;
    slots_.assign(std::size_t(columns) * std::size_t(rows), Slot{});
    order_.clear();
}

void PaintQueue::compact() {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < order_.size(); ++i) {
        Slot& s = slots_[order_[i]];
        if (s.last != i)
            continue;
        s.last = static_cast<uint32_t>(kept);
        order_[kept++] = order_[i];
    }
    order_.resize(kept);
}

} // namespace bx

#include "tickpace.h"

#include <algorithm>

namespace bx {

int TickPace::due(int64_t now) {
    pending_ += started_ ? now - last_ : tickLength;
    started_ = true;
    last_ = now;
    int64_t ticks = pending_ / tickLength;
    if (ticks < 1 || ticks > mostPerWake) {
        ticks = std::clamp<int64_t>(ticks, 1, mostPerWake);
        pending_ = 0;
    } else {
        pending_ -= ticks * tickLength;
    }
    return static_cast<int>(ticks);
}

} // namespace bx

namespace bx {

bool FramePace::take(int64_t now) {
    if (wait(now) > 0)
        return false;
    started_ = true;
    last_ = now;
    return true;
}

int64_t FramePace::wait(int64_t now) const {
    return started_ ? std::max<int64_t>(0, last_ + frameLength - now) : 0;
}

} // namespace bx

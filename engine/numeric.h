#pragma once
// Rounding used throughout the engine: nearest integer, ties to the even one (2.5 -> 2, 3.5 -> 4).
#include <cmath>
#include <cstdint>

namespace bx {

// Adding and taking away 2^52 leaves the nearest integer, ties to even, in the default rounding
// mode; unlike std::nearbyint this needs no library call, and the update rounds on every roll.
inline double roundHalfEven(double v) {
    constexpr double twoTo52 = 4503599627370496.0;
    const double magnitude = std::fabs(v);
    if (!(magnitude < twoTo52))
        return v; // already whole (or not a number)
    return std::copysign(magnitude + twoTo52 - twoTo52, v);
}

// Callers only pass values that fit (positions, rolls, components); the cast is not a clamp.
inline int32_t roundToInt(double v) { return static_cast<int32_t>(roundHalfEven(v)); }

} // namespace bx

#pragma once
// Rounding used throughout the engine: nearest integer, ties to the even one (2.5 -> 2, 3.5 -> 4).
#include <cmath>
#include <cstdint>

namespace bx {

inline double roundHalfEven(double v) { return std::nearbyint(v); }

// Callers only pass values that fit (positions, rolls, components); the cast is not a clamp.
inline int32_t roundToInt(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

} // namespace bx

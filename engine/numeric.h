#pragma once
// Rounding used throughout the engine: nearest integer, ties to the even one (2.5 -> 2, 3.5 -> 4).
#include <cmath>
#include <cstdint>

namespace bx {

// std::lrint rounds in the current rounding mode, which nothing in the programs changes from
// round-to-nearest-even; built without errno for maths (see the top CMakeLists.txt) it is a
// single instruction, and the update and the painting round on every roll and every box.
// Callers only pass values that fit (positions, rolls, components); the cast is not a clamp.
inline int32_t roundToInt(double v) {
    return static_cast<int32_t>(std::lrint(v));
}

} // namespace bx

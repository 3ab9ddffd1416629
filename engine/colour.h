#pragma once
#include <cstdint>

#include "numeric.h"

namespace bx {

// One colour layer of a square. Components run 0..255 and may carry fractions
// (blends halve sums, random colours are single-precision values).
struct Rgb {
    double red = 0;
    double green = 0;
    double blue = 0;

    double sum() const { return red + green + blue; }
    bool present() const { return sum() > 0; }
    bool operator==(const Rgb&) const = default;
};

// Packed drawing colour: red + 256 * green + 65536 * blue, each channel rounded half to even.
using PackedColour = uint32_t;

inline PackedColour packColour(const Rgb& c) {
    return static_cast<PackedColour>(roundToInt(c.red) + 256 * roundToInt(c.green) +
                                     65536 * roundToInt(c.blue));
}

inline PackedColour packColour(int red, int green, int blue) {
    return static_cast<PackedColour>(red + 256 * green + 65536 * blue);
}

} // namespace bx

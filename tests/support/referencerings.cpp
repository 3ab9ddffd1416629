#include "referencerings.h"

#include <algorithm>

namespace bx::test {

void literalSeedRings(Grid& grid, SeedPosition seed, Rgb colour, int decay, bool blending, int limitX,
                      int limitY) {
    const double px = seed.x, py = seed.y;
    double radius = 0;
    while (colour.red > 0 || colour.green > 0 || colour.blue > 0) {
        colour.red = std::max(0.0, colour.red - decay);
        colour.green = std::max(0.0, colour.green - decay);
        colour.blue = std::max(0.0, colour.blue - decay);
        radius += 1;
        for (double c = px - radius; c <= px + radius; c += 1) {
            for (double r = py - radius; r <= py + radius; r += 1) {
                if (c >= 0 && c <= limitX && r >= 0 && r <= limitY) {
                    if (c == px - radius || c == px + radius)
                        paintRingSquare(grid, roundToInt(c), roundToInt(r), colour, blending);
                    if (r == py - radius || r == py + radius)
                        paintRingSquare(grid, roundToInt(c), roundToInt(r), colour, blending);
                }
            }
        }
    }
}

} // namespace bx::test

#pragma once
#include "engine/rules.h"

namespace bx::test {

// The ring loop written out literally: for every ring, every square of the
// (2R + 1) x (2R + 1) block is visited and only its border painted. The engine's painter must
// give exactly the same grid; benchmarks compare their speed.
void literalSeedRings(Grid& grid, SeedPosition seed, Rgb colour, int decay, bool blending, int limitX,
                      int limitY);

} // namespace bx::test

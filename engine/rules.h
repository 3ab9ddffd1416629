#pragma once
// The artificial-life rules shared by the simulator and the screensaver: the layer step and
// the asteroid roll (layerrules.h), seed placement with fading rings and the colour picks.
// They keep no state of their own; callers pass the grids, the parameters and the generator.
#include <array>
#include <cstdint>
#include <functional>

#include "grid.h"
#include "layerrules.h"
#include "options.h"
#include "random.h"

namespace bx {

// The parameters of the options, with the world limited to what both grids really hold.
RuleParams ruleParamsOf(const SimulationOptions& options, const Grid& a, const Grid& b);

// --- World creation --------------------------------------------------------------------------

// A seed position ((sizeX - 1) * U + 1, (sizeY - 1) * U + 1), single precision, fraction kept.
struct SeedPosition {
    float x = 0;
    float y = 0;
};
SeedPosition drawSeedPosition(int gridSizeX, int gridSizeY, RandomSource& rng);

// The square a seed lands on: both coordinates rounded half to even.
inline int seedSquare(float v) {
    return roundToInt(v);
}

// A colour by scheme (colourschemes.h) into `colour`: a drawn colour takes three components; a
// fixed or user cycle advances the one shared colourCycle (1..length) and takes the colour at
// that position. A mode no scheme has leaves `colour` as it was: profiles and --set refuse one,
// so only an options record set in code can bring it.
void pickNewColour(int colourMode, const std::array<UserColour, 6>& userColours, int& colourCycle,
                   RandomSource& rng, Rgb& colour);

// Paints one ring square with the ring colour: the mean of old and new with blending,
// the new colour without.
inline void paintRingSquare(Grid& grid, int c, int r, const Rgb& colour, bool blending) {
    if (blending) {
        const Rgb& old = grid.at(c, r);
        grid.set(c, r,
                 {(old.red + colour.red) / 2, (old.green + colour.green) / 2, (old.blue + colour.blue) / 2});
    } else {
        grid.set(c, r, colour);
    }
}

// The fading rings around an environment seed: while any component of the colour is above
// zero, beforeRing() runs (the windows' chance to handle events), the colour loses `decay` in
// every component and ring R = 1, 2, ... is painted over the square block border around the
// unrounded seed position, clipped to columns 0..limitX and rows 0..limitY (and to the grid).
// Corner squares are painted twice. Visits only the border, never the inside of a ring.
void paintSeedRings(Grid& grid, SeedPosition seed, Rgb colour, int decay, bool blending, int limitX,
                    int limitY, const std::function<void()>& beforeRing);

// Places one environment seed: the seed square takes the colour unblended, then the rings.
// Nothing happens beyond the seed square when decay is below 1.
void placeEnvironmentSeed(Grid& grid, SeedPosition seed, const Rgb& colour, int decay, bool blending,
                          int limitX, int limitY, const std::function<void()>& beforeRing);

} // namespace bx

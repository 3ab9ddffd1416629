#include "rules.h"

#include <algorithm>
#include <cmath>

#include "colourschemes.h"

namespace bx {

RuleParams ruleParamsOf(const SimulationOptions& o, const Grid& a, const Grid& b) {
    RuleParams p;
#define BX_COPY_INTEGER(name, initial, minimum, maximum, reader, ...) BX_IF_RULES(reader, p.name = o.name;)
#define BX_COPY_FLAG(name, initial, reader, ...) BX_IF_RULES(reader, p.name = o.name;)
#define BX_COPY_COLOURS(...)
    BX_OPTIONS(BX_COPY_INTEGER, BX_COPY_FLAG, BX_COPY_COLOURS)
#undef BX_COPY_INTEGER
#undef BX_COPY_FLAG
#undef BX_COPY_COLOURS
    p.gridSizeX = std::min({o.gridSizeX, a.sizeX(), b.sizeX()});
    p.gridSizeY = std::min({o.gridSizeY, a.sizeY(), b.sizeY()});
    return p;
}

SeedPosition drawSeedPosition(int gridSizeX, int gridSizeY, RandomSource& rng) {
    SeedPosition s;
    s.x = static_cast<float>(gridSizeX - 1) * rng.next() + 1.0f;
    s.y = static_cast<float>(gridSizeY - 1) * rng.next() + 1.0f;
    return s;
}

void pickNewColour(int colourMode, const std::array<UserColour, 6>& userColours, int& colourCycle,
                   RandomSource& rng, Rgb& colour) {
    auto advance = [&colourCycle](std::size_t length) {
        const int last = static_cast<int>(length);
        if (++colourCycle > last)
            colourCycle = 1;
        // A cycle position read from elsewhere may lie below 1; the step above then lands on it.
        return static_cast<std::size_t>(std::clamp(colourCycle, 1, last) - 1);
    };
    auto rgbOf = [](const UserColour& c) { return Rgb{double(c.red), double(c.green), double(c.blue)}; };
    const ColourScheme* scheme = colourSchemeOf(colourMode);
    if (!scheme)
        return;
    switch (scheme->pick) {
    case ColourPick::Draw:
        colour = randomColour(rng);
        return;
    case ColourPick::FixedCycle:
        colour = rgbOf(scheme->colours[advance(scheme->colours.size())]);
        return;
    case ColourPick::UserCycle:
        colour = rgbOf(userColours[advance(userColours.size())]);
        return;
    }
}

namespace {

// First and last k in 0..2R with 0 <= centre - R + k <= limit (empty when first > last).
std::pair<int, int> clippedSteps(double centre, int radius, int limit) {
    const int first = std::max(0, static_cast<int>(std::ceil(radius - centre)));
    const int last = std::min(2 * radius, static_cast<int>(std::floor(limit - centre + radius)));
    return {first, last};
}

// One ring border in the order of the full block scan (columns outer, rows inner): the two
// edge columns entirely, the other columns only at their top and bottom rows.
void paintRing(Grid& grid, double px, double py, int radius, const Rgb& colour, bool blending, int limitX,
               int limitY) {
    const auto [kFirst, kLast] = clippedSteps(px, radius, limitX);
    const auto [jFirst, jLast] = clippedSteps(py, radius, limitY);
    if (kFirst > kLast || jFirst > jLast)
        return;
    const int edge = 2 * radius;
    const int topRow = roundToInt(py - radius);
    const int bottomRow = roundToInt(py + radius);
    for (int k = kFirst; k <= kLast; ++k) {
        const int c = roundToInt(px - radius + k);
        if (k == 0 || k == edge) {
            for (int j = jFirst; j <= jLast; ++j) {
                const int r = roundToInt(py - radius + j);
                paintRingSquare(grid, c, r, colour, blending);
                if (j == 0 || j == edge)
                    paintRingSquare(grid, c, r, colour, blending);
            }
        } else {
            if (jFirst == 0)
                paintRingSquare(grid, c, topRow, colour, blending);
            if (jLast == edge)
                paintRingSquare(grid, c, bottomRow, colour, blending);
        }
    }
}

} // namespace

void paintSeedRings(Grid& grid, SeedPosition seed, Rgb colour, int decay, bool blending, int limitX,
                    int limitY, const std::function<void()>& beforeRing) {
    int radius = 0;
    while (colour.red > 0 || colour.green > 0 || colour.blue > 0) {
        if (beforeRing)
            beforeRing();
        colour = decayedColour(colour, decay);
        ++radius;
        // Read the grid's extent afresh: the events run above may have replaced the world.
        paintRing(grid, seed.x, seed.y, radius, colour, blending, std::min(limitX, grid.sizeX()),
                  std::min(limitY, grid.sizeY()));
    }
}

void placeEnvironmentSeed(Grid& grid, SeedPosition seed, const Rgb& colour, int decay, bool blending,
                          int limitX, int limitY, const std::function<void()>& beforeRing) {
    const int c = seedSquare(seed.x), r = seedSquare(seed.y);
    if (grid.contains(c, r))
        grid.set(c, r, colour);
    if (decay < 1)
        return;
    paintSeedRings(grid, seed, colour, decay, blending, limitX, limitY, beforeRing);
}

} // namespace bx

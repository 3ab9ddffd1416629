#include "rules.h"

#include <algorithm>
#include <cmath>

namespace bx {
namespace {

// Thresholds are drawn as U * 255 in single precision and compared in double precision.
float threshold(RandomSource& rng) { return rng.next() * 255.0f; }

Rgb decayed(const Rgb& c, int decay) {
    return {std::max(0.0, c.red - decay), std::max(0.0, c.green - decay), std::max(0.0, c.blue - decay)};
}

Rgb grown(const Rgb& c, double growth) {
    return {std::min(255.0, c.red + growth), std::min(255.0, c.green + growth), std::min(255.0, c.blue + growth)};
}

double strengthOf(const Rgb& l, const Rgb& m) {
    return 0.25 * l.red + 0.25 * l.green + 0.25 * l.blue + 0.083 * m.green + 0.083 * m.blue + 0.083 * m.red;
}

} // namespace

RuleParams ruleParamsOf(const SimulationOptions& o, const Grid& a, const Grid& b) {
    RuleParams p;
    p.gridSizeX = std::min({o.gridSizeX, a.sizeX(), b.sizeX()});
    p.gridSizeY = std::min({o.gridSizeY, a.sizeY(), b.sizeY()});
    p.growthRate = o.growthRate;
    p.decayRate = o.decayRate;
    p.mutationsOn = o.mutationsOn;
    p.mutationFrequency = o.mutationFrequency;
    p.asteroidsOn = o.asteroidsOn;
    p.asteroidFrequency = o.asteroidFrequency;
    p.blendOnOvertake = o.blendOnOvertake;
    return p;
}

bool rollOneIn(RandomSource& rng, int32_t n, int32_t& chanceRoll) {
    chanceRoll = roundToInt(static_cast<double>(rng.next()) * n);
    return chanceRoll == 1;
}

Rgb randomColour(RandomSource& rng) {
    const float red = rng.next() * 255.0f;
    const float green = rng.next() * 255.0f;
    const float blue = rng.next() * 255.0f;
    return {red, green, blue};
}

void stepLayer(Grid& layer, Grid& other, int x, int y, int32_t& counter, bool feedsOther,
               const RuleParams& p, RandomSource& rng, int32_t& chanceRoll) {
    Rgb l = layer.at(x, y);
    Rgb m = other.at(x, y);
    if (!(l.sum() > 0))
        return;
    ++counter;

    const bool decays = threshold(rng) < 0.4 * l.red + 0.6 * l.green;
    const Rgb lower = decayed(l, p.decayRate);
    l = Rgb{decays ? lower.red : l.red, decays ? lower.green : l.green, decays ? lower.blue : l.blue};
    layer.setIf(decays, x, y, l);
    if (!(threshold(rng) < 0.6 * l.green + 0.2 * l.blue + 0.15 * m.green + 0.05 * m.blue))
        return;

    const float roll = threshold(rng);
    const double strength = strengthOf(l, m);
    if (!(roll < strength)) {
        layer.set(x, y, grown(l, p.growthRate));
        if (feedsOther)
            other.set(x, y, grown(m, p.growthRate / 2.0));
        return;
    }

    // Direction 0 contests the layer's own square; 1 to 4 go right, down, left, up.
    static constexpr int dx[5] = {0, 1, 0, -1, 0};
    static constexpr int dy[5] = {0, 0, 1, 0, -1};
    const int direction = roundToInt(rng.next() * 4.0f);
    const int tx = x + dx[direction], ty = y + dy[direction];
    if (tx < 1 || tx > p.gridSizeX || ty < 1 || ty > p.gridSizeY)
        return;

    const float u = rng.next();
    const Rgb& t = layer.at(tx, ty);
    const Rgb& n = other.at(tx, ty);
    // Only the red term of the defence is scaled by the random number.
    const double defence = u * (0.25 * t.red) + 0.25 * t.green + 0.25 * t.blue + 0.083 * n.red +
                           0.083 * n.green + 0.083 * n.blue;
    if (!(defence < strength))
        return;

    Rgb spread = decayed(l, p.decayRate);
    if (rollOneIn(rng, p.mutationFrequency, chanceRoll) && p.mutationsOn)
        spread = randomColour(rng);
    if (p.blendOnOvertake) {
        const Rgb& old = layer.at(tx, ty);
        spread = {(spread.red + old.red) / 2, (spread.green + old.green) / 2, (spread.blue + old.blue) / 2};
    }
    layer.set(tx, ty, spread);
}

void rollAsteroid(Grid& layer, const RuleParams& p, RandomSource& rng, int32_t& chanceRoll) {
    if (!rollOneIn(rng, p.asteroidFrequency, chanceRoll) || !p.asteroidsOn)
        return;
    const float cx = static_cast<float>(p.gridSizeX - 1) * rng.next() + 1.0f;
    const float cy = static_cast<float>(p.gridSizeY - 1) * rng.next() + 1.0f;
    layer.set(roundToInt(cx), roundToInt(cy), randomColour(rng));
}

SeedPosition drawSeedPosition(int gridSizeX, int gridSizeY, RandomSource& rng) {
    SeedPosition s;
    s.x = static_cast<float>(gridSizeX - 1) * rng.next() + 1.0f;
    s.y = static_cast<float>(gridSizeY - 1) * rng.next() + 1.0f;
    return s;
}

const std::array<UserColour, 3> primaryColours{{{255, 0, 0}, {0, 0, 255}, {255, 255, 0}}};

void pickNewColour(int colourMode, const std::array<UserColour, 6>& userColours, int& colourCycle,
                   RandomSource& rng, Rgb& colour) {
    auto advance = [&colourCycle](int length) {
        if (++colourCycle > length)
            colourCycle = 1;
        // A cycle position read from elsewhere may lie below 1; the step above then lands on it.
        return std::clamp(colourCycle, 1, length) - 1;
    };
    auto rgbOf = [](const UserColour& c) { return Rgb{double(c.red), double(c.green), double(c.blue)}; };
    switch (colourMode) {
    case ColourRandom: colour = randomColour(rng); break;
    case ColourPrimary: colour = rgbOf(primaryColours[static_cast<std::size_t>(advance(3))]); break;
    case ColourChoose: colour = rgbOf(userColours[static_cast<std::size_t>(advance(6))]); break;
    default: break;
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
        colour = decayed(colour, decay);
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

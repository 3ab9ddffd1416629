#pragma once
// The layer step and the asteroid roll, written once as templates over the random source so
// the generation update can run them on a generator held in registers (RandomGenerator::Stream)
// while everything else uses a RandomSource. Any type with `float next()` in [0, 1) will do.
#include <algorithm>
#include <bit>
#include <cstdint>

#include "grid.h"

namespace bx {

struct RuleParams {
    int gridSizeX = 1; // visible columns 1..gridSizeX; overtakes and asteroids stay inside
    int gridSizeY = 1;
    int growthRate = 2;
    int decayRate = 3;
    bool mutationsOn = true;
    int32_t mutationFrequency = 1000000;
    bool asteroidsOn = true;
    int32_t asteroidFrequency = 1000000;
    bool blendOnOvertake = true;
};

inline Rgb decayedColour(const Rgb& c, double decay) {
    return {std::max(0.0, c.red - decay), std::max(0.0, c.green - decay), std::max(0.0, c.blue - decay)};
}

inline Rgb grownColour(const Rgb& c, double growth) {
    return {std::min(255.0, c.red + growth), std::min(255.0, c.green + growth), std::min(255.0, c.blue + growth)};
}

// a when pick is true, else b, bit for bit and without a branch: the decay roll goes either way
// about as often, and a mispredicted branch costs more than the whole selection.
inline double selectBits(bool pick, double a, double b) {
    const uint64_t mask = 0 - static_cast<uint64_t>(pick);
    return std::bit_cast<double>((std::bit_cast<uint64_t>(a) & mask) | (std::bit_cast<uint64_t>(b) & ~mask));
}

inline Rgb selectColour(bool pick, const Rgb& a, const Rgb& b) {
    return {selectBits(pick, a.red, b.red), selectBits(pick, a.green, b.green), selectBits(pick, a.blue, b.blue)};
}

// Thresholds are drawn as U * 255 in single precision and compared in double precision.
template <class Rng> float threshold(Rng& rng) { return rng.next() * 255.0f; }

// A one-in-n roll: round(U * n) = 1. Stores the rounded value in chanceRoll.
template <class Rng> bool rollOneIn(Rng& rng, int32_t n, int32_t& chanceRoll) {
    chanceRoll = roundToInt(static_cast<double>(rng.next()) * n);
    return chanceRoll == 1;
}

// Three fresh draws of U * 255 in single precision, red, green, blue.
template <class Rng> Rgb randomColour(Rng& rng) {
    const float red = rng.next() * 255.0f;
    const float green = rng.next() * 255.0f;
    const float blue = rng.next() * 255.0f;
    return {red, green, blue};
}

// One layer step on square (x, y): decay, growth (feeding the other layer when feedsOther),
// or an overtake of a neighbour. Adds 1 to counter when the layer is present.
template <class Rng>
inline void stepLayer(Grid& layer, Grid& other, int x, int y, int32_t& counter, bool feedsOther,
                      const RuleParams& p, Rng& rng, int32_t& chanceRoll) {
    Rgb l = layer.at(x, y);
    const Rgb m = other.at(x, y);
    if (!(l.sum() > 0))
        return;
    ++counter;

    const bool decays = threshold(rng) < 0.4 * l.red + 0.6 * l.green;
    l = selectColour(decays, decayedColour(l, p.decayRate), l);
    layer.setIf(decays, x, y, l);
    if (!(threshold(rng) < 0.6 * l.green + 0.2 * l.blue + 0.15 * m.green + 0.05 * m.blue))
        return;

    const float roll = threshold(rng);
    const double strength =
        0.25 * l.red + 0.25 * l.green + 0.25 * l.blue + 0.083 * m.green + 0.083 * m.blue + 0.083 * m.red;
    if (!(roll < strength)) {
        layer.set(x, y, grownColour(l, p.growthRate));
        if (feedsOther)
            other.set(x, y, grownColour(m, p.growthRate / 2.0));
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

    Rgb spread = decayedColour(l, p.decayRate);
    if (rollOneIn(rng, p.mutationFrequency, chanceRoll) && p.mutationsOn)
        spread = randomColour(rng);
    if (p.blendOnOvertake) {
        const Rgb& old = layer.at(tx, ty);
        spread = {(spread.red + old.red) / 2, (spread.green + old.green) / 2, (spread.blue + old.blue) / 2};
    }
    layer.set(tx, ty, spread);
}

// One asteroid roll: with chance 1 in asteroidFrequency a random colour lands on a random square.
template <class Rng> inline void rollAsteroid(Grid& layer, const RuleParams& p, Rng& rng, int32_t& chanceRoll) {
    if (!rollOneIn(rng, p.asteroidFrequency, chanceRoll) || !p.asteroidsOn)
        return;
    const float cx = static_cast<float>(p.gridSizeX - 1) * rng.next() + 1.0f;
    const float cy = static_cast<float>(p.gridSizeY - 1) * rng.next() + 1.0f;
    layer.set(roundToInt(cx), roundToInt(cy), randomColour(rng));
}

// The rule part of a square update: environment step, organism step, two asteroid rolls.
template <class Rng>
inline void updateSquareLayers(Grid& envGrid, Grid& orgGrid, int x, int y, int32_t& environmentCount,
                               int32_t& organismCount, const RuleParams& p, Rng& rng, int32_t& chanceRoll) {
    stepLayer(envGrid, orgGrid, x, y, environmentCount, false, p, rng, chanceRoll);
    stepLayer(orgGrid, envGrid, x, y, organismCount, true, p, rng, chanceRoll);
    rollAsteroid(envGrid, p, rng, chanceRoll);
    rollAsteroid(orgGrid, p, rng, chanceRoll);
}

} // namespace bx

#pragma once
// The layer step and the asteroid roll, written once as templates over the random source so
// the generation update can run them on a generator held in registers (RandomGenerator::Stream)
// while everything else uses a RandomSource. Any type with `float next()` in [0, 1) will do.
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

// Written as comparisons rather than std::max/min so they compile to min/max instructions
// instead of branches; the results are the same.
inline double floorAtZero(double v) { return v > 0.0 ? v : 0.0; }
inline double capAt255(double v) { return v < 255.0 ? v : 255.0; }

inline Rgb decayedColour(const Rgb& c, double decay) {
    return {floorAtZero(c.red - decay), floorAtZero(c.green - decay), floorAtZero(c.blue - decay)};
}

inline Rgb grownColour(const Rgb& c, double growth) {
    return {capAt255(c.red + growth), capAt255(c.green + growth), capAt255(c.blue + growth)};
}

// Branch-free choices for rolls that go either way about as often (a mispredicted branch costs
// more than computing both sides). The comparison happens in two-lane vectors so that its mask
// stays in the floating-point registers and the choice needs no trip through integer ones.
using Lanes = double __attribute__((vector_size(16)));
using LaneMask = int64_t __attribute__((vector_size(16)));

inline LaneMask lessMask(double a, double b) { return Lanes{a} < Lanes{b}; }

// a where the mask is set, else b, bit for bit.
inline double choose(LaneMask m, double a, double b) {
    return reinterpret_cast<Lanes>((m & reinterpret_cast<LaneMask>(Lanes{a})) | (~m & reinterpret_cast<LaneMask>(Lanes{b})))[0];
}

inline Rgb choose(LaneMask m, const Rgb& a, const Rgb& b) {
    return {choose(m, a.red, b.red), choose(m, a.green, b.green), choose(m, a.blue, b.blue)};
}

// Thresholds are drawn as U * 255 in single precision and compared in double precision.
template <class Rng> float threshold(Rng& rng) {
    if constexpr (requires { rng.next255(); })
        return rng.next255();
    else
        return rng.next() * 255.0f;
}

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
[[gnu::always_inline]] inline void stepLayer(Grid& layer, Grid& other, int x, int y, int32_t& counter, bool feedsOther,
                      const RuleParams& p, Rng& rng, int32_t& chanceRoll) {
    Rgb l = layer.at(x, y);
    const Rgb m = other.at(x, y);
    if (!(l.sum() > 0))
        return;
    ++counter;

    // The decay roll only picks how much the components lose, the decay rate or nothing:
    // taking nothing off a component (never negative zero) leaves it exactly as it was.
    const LaneMask decays = lessMask(threshold(rng), 0.4 * l.red + 0.6 * l.green);
    l = decayedColour(l, choose(decays, p.decayRate, 0.0));
    layer.setIf(decays[0] != 0, x, y, l);
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
[[gnu::always_inline]] inline void updateSquareLayers(Grid& envGrid, Grid& orgGrid, int x, int y, int32_t& environmentCount,
                               int32_t& organismCount, const RuleParams& p, Rng& rng, int32_t& chanceRoll) {
    stepLayer(envGrid, orgGrid, x, y, environmentCount, false, p, rng, chanceRoll);
    stepLayer(orgGrid, envGrid, x, y, organismCount, true, p, rng, chanceRoll);
    rollAsteroid(envGrid, p, rng, chanceRoll);
    rollAsteroid(orgGrid, p, rng, chanceRoll);
}

} // namespace bx

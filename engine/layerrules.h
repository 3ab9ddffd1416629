#pragma once
// The layer step and the asteroid roll, written once as templates over the random source so
// the generation update can run them on a generator held in registers (RandomGenerator::Stream)
// while everything else uses a RandomSource. Any type with `float next()` in [0, 1) will do.
#include <bit>
#include <cstdint>
#include <type_traits>

#include "grid.h"
#include "options.h"

namespace bx {

// The options the rules read (the rows of BX_OPTIONS marked Rules), with their defaults. The
// world spans visible columns 1..gridSizeX and rows 1..gridSizeY; overtakes and asteroids stay
// inside.
struct RuleParams {
#define BX_RULE_INTEGER(name, initial, minimum, maximum, reader, ...)                                        \
    BX_IF_RULES(reader, int32_t name = initial;)
#define BX_RULE_FLAG(name, initial, reader, ...) BX_IF_RULES(reader, bool name = initial;)
#define BX_RULE_COLOURS(...)
    BX_OPTIONS(BX_RULE_INTEGER, BX_RULE_FLAG, BX_RULE_COLOURS)
#undef BX_RULE_INTEGER
#undef BX_RULE_FLAG
#undef BX_RULE_COLOURS
};

// Written as comparisons rather than std::max/min so they compile to min/max instructions
// instead of branches; the results are the same.
inline double floorAtZero(double v) {
    return v > 0.0 ? v : 0.0;
}
inline double capAt255(double v) {
    return v < 255.0 ? v : 255.0;
}

inline Rgb decayedColour(const Rgb& c, double decay) {
    return {floorAtZero(c.red - decay), floorAtZero(c.green - decay), floorAtZero(c.blue - decay)};
}

inline Rgb grownColour(const Rgb& c, double growth) {
    return {capAt255(c.red + growth), capAt255(c.green + growth), capAt255(c.blue + growth)};
}

// v when `keep` is true, else zero, without a branch: rolls that go either way about as often
// choose amounts this way (a mispredicted branch costs more than the arithmetic).
inline double amountIf(bool keep, double v) {
    return std::bit_cast<double>(std::bit_cast<uint64_t>(v) & (0 - static_cast<uint64_t>(keep)));
}

// The step weighs the colour as it is and as it would be after decaying side by side, in the
// two lanes of a vector (lane 0 kept, lane 1 decayed), before the decay roll is known: both
// candidates cost one set of instructions, and the roll then only picks a lane.
using Lanes = double __attribute__((vector_size(16)));
using LaneMask = int64_t __attribute__((vector_size(16)));

struct ColourLanes {
    Lanes red, green, blue;
};

inline Lanes bothLanes(double v) {
    return Lanes{v, v};
}

inline ColourLanes keptAndDecayed(const Rgb& c, double decay) {
    const Lanes loss{0.0, decay};
    const Lanes zero{0.0, 0.0};
    auto floorAtZero = [&](Lanes v) {
        return reinterpret_cast<Lanes>(reinterpret_cast<LaneMask>(v) & (v > zero));
    };
    return {floorAtZero(bothLanes(c.red) - loss), floorAtZero(bothLanes(c.green) - loss),
            floorAtZero(bothLanes(c.blue) - loss)};
}

// Lane 1 when `second` is true, else lane 0, of a comparison's mask.
inline bool laneOf(LaneMask mask, bool second) {
#if defined(__SSE2__)
    return (__builtin_ia32_movmskpd(reinterpret_cast<Lanes>(mask)) >> static_cast<int>(second)) & 1;
#else
    return (second ? mask[1] : mask[0]) != 0;
#endif
}

// Lane 1 when `second` is true, else lane 0, without a branch.
inline double laneValue(Lanes v, bool second) {
    const uint64_t first = std::bit_cast<uint64_t>(v[0]), other = std::bit_cast<uint64_t>(v[1]);
    return std::bit_cast<double>(first ^ ((first ^ other) & (0 - static_cast<uint64_t>(second))));
}

// Thresholds are drawn as U * 255 in single precision and compared in double precision.
template <class Rng> float threshold(Rng& rng) {
    if constexpr (requires { rng.next255(); })
        return rng.next255();
    else
        return rng.next() * 255.0f;
}

// V for a roll whose first draw u left a cell that straddles a bound: a second draw places V
// inside the cell. Kept out of line: it is rare, and the roll's fast path stays short.
template <class Rng> [[gnu::noinline, gnu::cold]] double refinedRoll(Rng& rng, double u, int32_t n) {
    return (u + static_cast<double>(rng.next()) * 0x1.0p-24) * n;
}

// A one-in-n roll: round(V * n) = 1 for a uniform V in [0, 1), which holds with chance 1/n.
// One draw U gives V to 24 bits: U stands for the cell [U, U + 2^-24). That is too coarse for
// large n (from n = 2^24 on no cell would lie inside (0.5/n, 1.5/n)), so when U's cell straddles
// 0.5/n or 1.5/n a second draw places V inside it to 48 bits. The chance is then 1/n to within a
// millionth for every n up to 10^8, and the second draw is rare (about two cells in 2^24).
// Stores the rounded value in chanceRoll (from the cell's bottom when no second draw was made).
template <class Rng> bool rollOneIn(Rng& rng, int32_t n, int32_t& chanceRoll) {
    const double u = rng.next();
    const double low = u * n; // exact: 24 by at most 31 bits
    double v = low;
    if (low < 1.5) [[unlikely]] { // the frequencies in use are large: almost every roll misses here
        const double high = low + n * 0x1.0p-24;
        if (high > 0.5 && !(low > 0.5 && high <= 1.5))
            v = refinedRoll(rng, u, n);
    }
    chanceRoll = roundToInt(v);
    return chanceRoll == 1;
}

// Three fresh draws of U * 255 in single precision, red, green, blue.
template <class Rng> Rgb randomColour(Rng& rng) {
    const float red = rng.next() * 255.0f;
    const float green = rng.next() * 255.0f;
    const float blue = rng.next() * 255.0f;
    return {red, green, blue};
}

// The layer's chance to act (grow or attack) and its attack strength, out of 255, for both
// candidates of its colour; m is the other layer's colour on the square.
inline Lanes actingBars(const ColourLanes& candidates, const Rgb& m) {
    return 0.6 * candidates.green + 0.2 * candidates.blue + bothLanes(0.15 * m.green) +
           bothLanes(0.05 * m.blue);
}
inline Lanes strengths(const ColourLanes& candidates, const Rgb& m) {
    return 0.25 * candidates.red + 0.25 * candidates.green + 0.25 * candidates.blue +
           bothLanes(0.083 * m.green) + bothLanes(0.083 * m.blue) + bothLanes(0.083 * m.red);
}

// A generator that can be copied and take a copy's state back without a branch lets the step
// draw the attack roll ahead and keep it only if the layer acts.
template <class Rng>
concept LookaheadRandom = std::is_copy_constructible_v<Rng> && requires(Rng r, const Rng& a) {
    r.adoptIf(true, a);
};

// The writes an update makes to squares other than its own, told just before each store:
// square (x, y)'s overtake, or an asteroid rolled in its update, lands on (tx, ty). The shown
// world's update has its paint queue keep what the write covers; every other caller ignores them.
struct IgnoreWrites {
    void operator()(int, int, int, int) const {}
};

// One layer step on square (x, y): decay, growth (feeding the other layer when feedsOther),
// or an overtake of a neighbour. Adds 1 to counter when the layer is present.
//
// The decay, act and attack rolls go either way about as often, so they are decided without
// branches (a mispredicted branch costs more than the arithmetic): both outcomes of the decay
// are weighed before the roll picks one, and decay and growth are written as amounts that may
// be zero. Only an attack, about one step in four, takes a branch.
//
// Step by step beside the plain rule (stepLayer in tests/support/plainrules.cpp), whose names
// this one keeps (layer, other, p, l, m, strength, direction, tx, ty, u, t, n, defence, spread):
//
// 1. Plain: l and m are the layer's and the other layer's colours; a layer whose colours sum to
//    0 or less is absent: return. Here the same, but the layer's colour is `kept`: l is named
//    once the decay roll is known (step 5).
// 2. Plain: counter += 1. Here the same.
// 3. Plain: draw the decay roll; below 0.4 l.red + 0.6 l.green, l = decayed(l) and it is
//    stored. Here decayRoll is drawn first and `decays` compares it with kept. Both outcomes are
//    ready before it is known: `candidates` (keptAndDecayed) holds kept in lane 0 and kept
//    decayed in lane 1. The store waits for the one store of step 5.
// 4. Plain: draw the act roll, always; not below the acting bar of l and m: return (l stored if
//    it decayed). Here actRoll is drawn second; the bar is computed in both lanes (actingBars)
//    and laneOf(mask, decays) takes the lane the decay roll chose: `acts`.
// 5. Plain: strength of l and m; draw the attack roll; not below strength: l grown by
//    growthRate is stored, m grown by growthRate / 2 too when feedsOther; return. Here the
//    strength is computed in both lanes (strengthLanes). The attack roll is drawn only when the
//    layer acts, as in the plain rule: a generator that can look ahead (a Stream) draws it on a
//    copy, `ahead`, and adopts the copy's state by adoptIf(acts), without a branch; any other
//    RandomSource draws it under `if (acts)`. attacks = acts and the roll below the chosen
//    lane's strength; grows = acts and not attacks. Steps 3 to 5 then store once per layer:
//    l = kept decayed by decayRate or by 0 (amountIf(decays, ...)), grown by growthRate or by 0
//    (amountIf(grows, ...)), stored when decays | grows; m grown by growthRate / 2 or by 0,
//    stored when grows and feedsOther (setIf). Only an attack goes on, by a branch, with
//    strength = laneValue(strengthLanes, decays).
// 6. Plain: draw the direction, round(U * 4): 0 the square itself, 1 to 4 right, down, left,
//    up; tx, ty outside the visible grid: return. Here the same, offsets from dx and dy.
// 7. Plain: draw u; t and n are the layer's and the other layer's colours at (tx, ty);
//    defence = u * 0.25 t.red + ...; not below strength: return. Here the same.
// 8. Plain: spread = l decayed; the mutation roll (rollOneIn, always drawn) and, when it hits
//    and mutations are on, three draws for a random colour; blended with t when
//    blendOnOvertake; stored at (tx, ty). Here the same; writes(x, y, tx, ty) comes just before
//    the store. rollOneIn takes its second draw when the plain one does: it tests for a
//    straddled bound only when u * n < 1.5, below which both of the plain one's tests lie.
template <class Rng, class Writes = IgnoreWrites>
[[gnu::always_inline]] inline void stepLayer(Grid& layer, Grid& other, int x, int y, int32_t& counter,
                                             bool feedsOther, const RuleParams& p, Rng& rng,
                                             int32_t& chanceRoll, Writes writes = {}) {
    const Rgb kept = layer.at(x, y);
    const Rgb m = other.at(x, y);
    if (!(kept.sum() > 0))
        return;
    ++counter;

    const double decayRoll = threshold(rng);
    const double actRoll = threshold(rng);
    const ColourLanes candidates = keptAndDecayed(kept, p.decayRate);
    const Lanes strengthLanes = strengths(candidates, m);
    const bool decays = decayRoll < 0.4 * kept.red + 0.6 * kept.green;
    const bool acts = laneOf(bothLanes(actRoll) < actingBars(candidates, m), decays);
    bool attacks = false;
    if constexpr (LookaheadRandom<Rng>) {
        Rng ahead = rng;
        const double attackRoll = threshold(ahead);
        rng.adoptIf(acts, ahead);
        attacks = acts & laneOf(bothLanes(attackRoll) < strengthLanes, decays);
    } else if (acts) {
        attacks = laneOf(bothLanes(threshold(rng)) < strengthLanes, decays);
    }
    const bool grows = acts & !attacks;
    // Taking nothing off or adding nothing to a component (never negative zero, never above
    // 255) leaves it exactly as it was, so the rolls pick amounts rather than whole colours.
    const Rgb l = decayedColour(kept, amountIf(decays, p.decayRate));
    layer.setIf(decays | grows, x, y, grownColour(l, amountIf(grows, p.growthRate)));
    if (feedsOther)
        other.setIf(grows, x, y, grownColour(m, amountIf(grows, p.growthRate / 2.0)));
    if (!attacks)
        return;
    const double strength = laneValue(strengthLanes, decays);

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
    if (p.blendOnOvertake) // t is still the colour at (tx, ty): nothing was stored since
        spread = {(spread.red + t.red) / 2, (spread.green + t.green) / 2, (spread.blue + t.blue) / 2};
    writes(x, y, tx, ty);
    layer.set(tx, ty, spread);
}

// One asteroid roll in the update of square (x, y): with chance 1 in asteroidFrequency a random
// colour lands on a random square.
template <class Rng, class Writes = IgnoreWrites>
inline void rollAsteroid(Grid& layer, const RuleParams& p, Rng& rng, int32_t& chanceRoll, int x = 0,
                         int y = 0, Writes writes = {}) {
    if (!rollOneIn(rng, p.asteroidFrequency, chanceRoll) || !p.asteroidsOn)
        return;
    const float cx = static_cast<float>(p.gridSizeX - 1) * rng.next() + 1.0f;
    const float cy = static_cast<float>(p.gridSizeY - 1) * rng.next() + 1.0f;
    const int tx = roundToInt(cx), ty = roundToInt(cy);
    writes(x, y, tx, ty);
    layer.set(tx, ty, randomColour(rng));
}

// The rule part of a square update: environment step, organism step, two asteroid rolls.
template <class Rng, class Writes = IgnoreWrites>
[[gnu::always_inline]] inline void updateSquareLayers(Grid& envGrid, Grid& orgGrid, int x, int y,
                                                      int32_t& environmentCount, int32_t& organismCount,
                                                      const RuleParams& p, Rng& rng, int32_t& chanceRoll,
                                                      Writes writes = {}) {
    stepLayer(envGrid, orgGrid, x, y, environmentCount, false, p, rng, chanceRoll, writes);
    stepLayer(orgGrid, envGrid, x, y, organismCount, true, p, rng, chanceRoll, writes);
    rollAsteroid(envGrid, p, rng, chanceRoll, x, y, writes);
    rollAsteroid(orgGrid, p, rng, chanceRoll, x, y, writes);
}

} // namespace bx

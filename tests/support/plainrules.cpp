#include "plainrules.h"

#include <cmath>

namespace bx::test {
namespace {

// U * 255 in single precision.
double threshold(RandomSource& rng) {
    return rng.next() * 255.0f;
}

Rgb decayed(const Rgb& c, double decay) {
    return {std::max(c.red - decay, 0.0), std::max(c.green - decay, 0.0), std::max(c.blue - decay, 0.0)};
}

Rgb grown(const Rgb& c, double growth) {
    return {std::min(c.red + growth, 255.0), std::min(c.green + growth, 255.0),
            std::min(c.blue + growth, 255.0)};
}

Rgb randomColour(RandomSource& rng) {
    const float red = rng.next() * 255.0f;
    const float green = rng.next() * 255.0f;
    const float blue = rng.next() * 255.0f;
    return {red, green, blue};
}

// round(V * n) = 1. The draw U is the bottom of a cell [U, U + 2^-24) of V; where the cell holds
// values on both sides of 0.5/n or of 1.5/n, a second draw places V inside it.
bool rollOneIn(RandomSource& rng, int32_t n, int32_t& chanceRoll) {
    const double u = rng.next();
    const double bottom = u * n, top = (u + 0x1.0p-24) * n;
    const bool straddles = (bottom <= 0.5 && top > 0.5) || (bottom < 1.5 && top > 1.5);
    const double v = straddles ? u + rng.next() * 0x1.0p-24 : u;
    chanceRoll = static_cast<int32_t>(std::lrint(v * n));
    return chanceRoll == 1;
}

void stepLayer(Grid& layer, Grid& other, int x, int y, int32_t& counter, bool feedsOther, const RuleParams& p,
               RandomSource& rng, int32_t& chanceRoll) {
    Rgb l = layer.at(x, y);
    Rgb m = other.at(x, y);
    if (!(l.red + l.green + l.blue > 0))
        return;
    counter += 1;

    if (threshold(rng) < 0.4 * l.red + 0.6 * l.green) {
        l = decayed(l, p.decayRate);
        layer.set(x, y, l);
    }
    if (!(threshold(rng) < 0.6 * l.green + 0.2 * l.blue + 0.15 * m.green + 0.05 * m.blue))
        return;
    const double strength =
        0.25 * l.red + 0.25 * l.green + 0.25 * l.blue + 0.083 * m.green + 0.083 * m.blue + 0.083 * m.red;
    if (!(threshold(rng) < strength)) {
        layer.set(x, y, grown(l, p.growthRate));
        if (feedsOther)
            other.set(x, y, grown(m, p.growthRate / 2.0));
        return;
    }

    const int direction = static_cast<int>(std::lrint(rng.next() * 4.0f));
    int tx = x, ty = y;
    if (direction == 1)
        tx = x + 1;
    else if (direction == 2)
        ty = y + 1;
    else if (direction == 3)
        tx = x - 1;
    else if (direction == 4)
        ty = y - 1;
    if (tx < 1 || tx > p.gridSizeX || ty < 1 || ty > p.gridSizeY)
        return;

    const float u = rng.next();
    const Rgb t = layer.at(tx, ty);
    const Rgb n = other.at(tx, ty);
    const double defence = u * (0.25 * t.red) + 0.25 * t.green + 0.25 * t.blue + 0.083 * n.red +
                           0.083 * n.green + 0.083 * n.blue;
    if (!(defence < strength))
        return;

    Rgb spread = decayed(l, p.decayRate);
    const bool mutation = rollOneIn(rng, p.mutationFrequency, chanceRoll);
    if (mutation && p.mutationsOn)
        spread = randomColour(rng);
    if (p.blendOnOvertake)
        spread = {(spread.red + t.red) / 2, (spread.green + t.green) / 2, (spread.blue + t.blue) / 2};
    layer.set(tx, ty, spread);
}

void rollAsteroid(Grid& layer, const RuleParams& p, RandomSource& rng, int32_t& chanceRoll) {
    const bool hit = rollOneIn(rng, p.asteroidFrequency, chanceRoll);
    if (!hit || !p.asteroidsOn)
        return;
    const float cx = static_cast<float>(p.gridSizeX - 1) * rng.next() + 1.0f;
    const float cy = static_cast<float>(p.gridSizeY - 1) * rng.next() + 1.0f;
    const Rgb colour = randomColour(rng);
    layer.set(static_cast<int>(std::lrint(cx)), static_cast<int>(std::lrint(cy)), colour);
}

} // namespace

void plainUpdateSquare(Grid& envGrid, Grid& orgGrid, int x, int y, int32_t& environmentCount,
                       int32_t& organismCount, const RuleParams& p, RandomSource& rng, int32_t& chanceRoll) {
    stepLayer(envGrid, orgGrid, x, y, environmentCount, false, p, rng, chanceRoll);
    stepLayer(orgGrid, envGrid, x, y, organismCount, true, p, rng, chanceRoll);
    rollAsteroid(envGrid, p, rng, chanceRoll);
    rollAsteroid(orgGrid, p, rng, chanceRoll);
}

} // namespace bx::test

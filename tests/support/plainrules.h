#pragma once
#include "engine/layerrules.h"
#include "engine/random.h"

namespace bx::test {

// The square update written as plainly as the rules read: one draw at a time, each decision an
// if, every store where the rule makes it. The engine's update (two-lane candidates, rolls drawn
// ahead, stores chosen by masks) must give exactly the same grids, counters and draws.
void plainUpdateSquare(Grid& envGrid, Grid& orgGrid, int x, int y, int32_t& environmentCount,
                       int32_t& organismCount, const RuleParams& p, RandomSource& rng, int32_t& chanceRoll);

} // namespace bx::test

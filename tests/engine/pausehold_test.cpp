#include <gtest/gtest.h>

#include "engine/pausehold.h"
#include "support/simfixture.h"

namespace {

using bx::test::SmallWorld;

TEST(pausehold_test, a_held_simulation_ticks_nothing_until_the_hold_ends_and_puts_its_phase_back) {
    SmallWorld f;
    {
        const bx::PauseHold hold(*f.sim);
        f.sim->tick();
        EXPECT_EQ(0, f.driver().environmentsPlaced);
        EXPECT_TRUE(f.sim->paused());
    }
    EXPECT_EQ(bx::Phase::Create, f.world.phase);
    EXPECT_FALSE(f.sim->paused());
}

struct LiveCase {
    const char* name;
    bool (*command)(bx::WorldState& world); // returns whether it replaced the world
    bool stillHolding;
    bx::Phase phaseWhileHeld, phaseAfterHold;
};

class running_a_command_while_held : public testing::TestWithParam<LiveCase> {};

// The command sees the live phase; a world it leaves as it was is parked again, one it changed
// goes on behind the hold and is not put back when the hold ends.
TEST_P(running_a_command_while_held, parks_an_unchanged_world_again_and_lets_a_changed_one_go_on) {
    SmallWorld f;
    {
        bx::PauseHold hold(*f.sim);
        bx::Phase seen = bx::Phase::Idle;
        hold.runLive([&] {
            seen = f.world.phase;
            return GetParam().command(f.world);
        });
        EXPECT_EQ(bx::Phase::Create, seen);
        EXPECT_EQ(GetParam().stillHolding, hold.holding());
        EXPECT_EQ(GetParam().phaseWhileHeld, f.world.phase);
    }
    EXPECT_EQ(GetParam().phaseAfterHold, f.world.phase);
}

INSTANTIATE_TEST_SUITE_P(pausehold_test, running_a_command_while_held,
                         testing::Values(LiveCase{"unchanged", [](bx::WorldState&) { return false; }, true,
                                                  bx::Phase::Idle, bx::Phase::Create},
                                         LiveCase{"replaced", [](bx::WorldState&) { return true; }, false,
                                                  bx::Phase::Create, bx::Phase::Create},
                                         LiveCase{"started",
                                                  [](bx::WorldState& w) {
                                                      w.running = true;
                                                      return false;
                                                  },
                                                  false, bx::Phase::Create, bx::Phase::Create},
                                         LiveCase{"phase_moved",
                                                  [](bx::WorldState& w) {
                                                      w.phase = bx::Phase::Draw;
                                                      return false;
                                                  },
                                                  false, bx::Phase::Draw, bx::Phase::Draw}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

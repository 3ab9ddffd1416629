#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/colourschemes.h"
#include "engine/rules.h"
#include "support/printers.h"
#include "support/scriptedrandom.h"

namespace {

using bx::test::PrintTo;

using bx::Rgb;
using bx::test::ScriptedRandom;

// U values whose thresholds U * 255 are far from every weighted sum used below.
constexpr float low = 0.0f;   // threshold 0: every roll against a positive sum succeeds
constexpr float high = 0.99f; // threshold 252.45: every roll against a small sum fails

// The draw that makes U * 255 land `offset` away from `value`.
float thresholdNear(double value, double offset) {
    return static_cast<float>((value + offset) / 255.0);
}

// A 5 x 5 world with its stepped square in the middle; no mutation, no blending unless a test
// says so, so that every outcome is a whole number.
struct Layers {
    bx::Grid env{5, 5};
    bx::Grid org{5, 5};
    bx::RuleParams params;
    ScriptedRandom rng;
    int32_t counter = 0;
    int32_t chanceRoll = -7;

    Layers() {
        params.gridSizeX = params.gridSizeY = 5;
        params.growthRate = 2;
        params.decayRate = 3;
        params.mutationsOn = false;
        params.mutationFrequency = 0;
        params.blendOnOvertake = false;
    }
    void stepEnvironment(int x = 3, int y = 3) {
        bx::stepLayer(env, org, x, y, counter, false, params, rng, chanceRoll);
    }
    void stepOrganism(int x = 3, int y = 3) {
        bx::stepLayer(org, env, x, y, counter, true, params, rng, chanceRoll);
    }
};

// An environment (100, 100, 100) on (3, 3) that neither decays nor grows and so attacks:
// strength 75, and each test then scripts the direction and what follows.
struct Attack : Layers {
    const Rgb attacker{100, 100, 100};
    Attack() {
        env.set(3, 3, attacker);
        rng.push({high, low, low}); // decay roll fails, activity succeeds, strength roll below 75
    }
};

TEST(rules_test, absent_layer_is_neither_counted_nor_changed_and_draws_nothing) {
    Layers w;
    w.org.set(3, 3, {0, 200, 0});
    w.stepEnvironment(); // the empty script throws on any draw
    EXPECT_EQ(0, w.counter);
    EXPECT_FALSE(w.env.written(3, 3, 0));
    EXPECT_EQ((Rgb{0, 200, 0}), w.org.at(3, 3));
}

TEST(rules_test, layer_with_blue_only_is_counted_never_decays_and_never_acts_without_help) {
    Layers w;
    w.env.set(3, 3, {0, 0, 1});
    w.rng.push({low, high}); // activity threshold 0.2: 252 is not below it
    w.stepEnvironment();
    EXPECT_EQ(1, w.counter);
    EXPECT_EQ((Rgb{0, 0, 1}), w.env.at(3, 3));
    EXPECT_EQ(0u, w.rng.remaining());
}

struct DecayCase {
    const char* name;
    Rgb colour;
    float u;
    Rgb expected;
};

class decay_roll : public testing::TestWithParam<DecayCase> {};

// Decay threshold 0.4 red + 0.6 green; blue plays no part. Every row then fails its activity roll.
TEST_P(decay_roll, weighs_red_and_green_and_floors_at_zero) {
    Layers w;
    w.env.set(3, 3, GetParam().colour);
    w.rng.push({GetParam().u, high});
    w.stepEnvironment();
    EXPECT_EQ(GetParam().expected, w.env.at(3, 3));
    EXPECT_EQ(0u, w.rng.remaining());
}

INSTANTIATE_TEST_SUITE_P(
    rules_test, decay_roll,
    testing::Values(DecayCase{"red_above_threshold", {160, 0, 0}, 0.25f, {157, 0, 0}},   // 64 > 63.75
                    DecayCase{"red_below_threshold", {159, 0, 0}, 0.25f, {159, 0, 0}},   // 63.6
                    DecayCase{"green_above_threshold", {0, 107, 2}, 0.25f, {0, 104, 0}}, // 64.2
                    DecayCase{"green_below_threshold", {0, 106, 0}, 0.25f, {0, 106, 0}}, // 63.6
                    DecayCase{"blue_alone_never", {0, 0, 255}, 0.0f, {0, 0, 255}},
                    DecayCase{"bright_red_green", {255, 255, 0}, 0.98f, {252, 252, 0}}), // 249.9 < 255
    [](const auto& info) { return std::string(info.param.name); });

struct ActivityCase {
    const char* name;
    Rgb layer, other;
    double threshold; // 0.6 L.green + 0.2 L.blue + 0.15 M.green + 0.05 M.blue
};

class activity_roll : public testing::TestWithParam<ActivityCase> {};

// Just below the threshold the layer goes on to its strength roll (and grows there);
// just above it the step ends with the layer unchanged.
TEST_P(activity_roll, acts_only_below_its_threshold) {
    const ActivityCase& c = GetParam();
    Layers below, above;
    for (Layers* w : {&below, &above}) {
        w->env.set(3, 3, c.layer);
        w->org.set(3, 3, c.other);
    }
    below.rng.push({high, thresholdNear(c.threshold, -0.5), high});
    above.rng.push({high, thresholdNear(c.threshold, 0.5)});
    below.stepEnvironment();
    above.stepEnvironment();
    const Rgb grown{c.layer.red + 2, c.layer.green + 2, c.layer.blue + 2};
    EXPECT_EQ(grown, below.env.at(3, 3));
    EXPECT_EQ(c.layer, above.env.at(3, 3));
    EXPECT_EQ(0u, below.rng.remaining() + above.rng.remaining());
}

INSTANTIATE_TEST_SUITE_P(rules_test, activity_roll,
                         testing::Values(ActivityCase{"layer_green", {0, 100, 0}, {}, 60},
                                         ActivityCase{"layer_blue", {0, 0, 200}, {}, 40},
                                         ActivityCase{"other_green", {1, 0, 0}, {0, 200, 0}, 30},
                                         ActivityCase{"other_blue", {1, 0, 0}, {0, 0, 200}, 10},
                                         ActivityCase{"other_red_adds_nothing", {1, 0, 50}, {250, 0, 0}, 10},
                                         ActivityCase{"all_terms", {9, 50, 50}, {0, 100, 100}, 60}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(rules_test, activity_roll_reads_the_colour_left_by_the_decay_roll) {
    Layers w;
    w.env.set(3, 3, {0, 100, 0});
    // Decays to green 97: threshold 58.2; 58.9 stops the step although it is below 60.
    w.rng.push({low, thresholdNear(58.2, 0.7)});
    w.stepEnvironment();
    EXPECT_EQ((Rgb{0, 97, 0}), w.env.at(3, 3));
    EXPECT_EQ(0u, w.rng.remaining());
}

TEST(rules_test, growth_ends_the_step_without_a_direction_draw_and_the_environment_feeds_nothing) {
    Layers w;
    w.env.set(3, 3, {10, 20, 30});
    w.rng.push({high, low, high}); // strength 15: 252 is not below it, so the layer grows
    w.stepEnvironment();
    EXPECT_EQ((Rgb{12, 22, 32}), w.env.at(3, 3));
    EXPECT_FALSE(w.org.written(3, 3, 0));
    EXPECT_EQ(0u, w.rng.remaining());
}

struct FeedCase {
    const char* name;
    int growthRate;
    Rgb organism, environment;
    Rgb grownOrganism, fedEnvironment;
};

class feeding : public testing::TestWithParam<FeedCase> {};

TEST_P(feeding, growing_organism_gives_its_environment_half_its_growth_capped_at_255) {
    const FeedCase& c = GetParam();
    Layers w;
    w.params.growthRate = c.growthRate;
    w.org.set(3, 3, c.organism);
    if (c.environment.present())
        w.env.set(3, 3, c.environment);
    w.rng.push({high, low, high});
    w.stepOrganism();
    EXPECT_EQ(c.grownOrganism, w.org.at(3, 3));
    EXPECT_EQ(c.fedEnvironment, w.env.at(3, 3));
    EXPECT_EQ(1, w.counter);
}

INSTANTIATE_TEST_SUITE_P(
    rules_test, feeding,
    testing::Values(
        FeedCase{
            "odd_growth_gives_halves", 3, {254, 100, 0}, {254.5, 0, 10}, {255, 103, 3}, {255, 1.5, 11.5}},
        FeedCase{"absent_environment_becomes_present", 2, {0, 100, 0}, {}, {2, 102, 2}, {1, 1, 1}},
        FeedCase{"zero_growth_changes_nothing", 0, {0, 100, 0}, {}, {0, 100, 0}, {0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

struct DirectionCase {
    const char* name;
    float u;
    int tx, ty;
};

class overtake_direction : public testing::TestWithParam<DirectionCase> {};

// round(U * 4) with ties to even: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, 3.5 -> 4.
TEST_P(overtake_direction, spreads_the_decayed_colour_to_its_target_and_keeps_its_own) {
    const DirectionCase& c = GetParam();
    Attack w;
    w.rng.push({c.u, 0.5f, low}); // direction, defence, mutation roll
    w.stepEnvironment();
    EXPECT_EQ((Rgb{97, 97, 97}), w.env.at(c.tx, c.ty));
    if (c.tx != 3 || c.ty != 3) {
        EXPECT_EQ(w.attacker, w.env.at(3, 3));
    }
    int changed = 0;
    for (int x = 0; x <= 5; ++x)
        for (int y = 0; y <= 5; ++y)
            changed += w.env.written(x, y, 0) ? 1 : 0;
    EXPECT_EQ((c.tx == 3 && c.ty == 3) ? 1 : 2, changed);
    EXPECT_EQ(0u, w.rng.remaining());
}

INSTANTIATE_TEST_SUITE_P(
    rules_test, overtake_direction,
    testing::Values(DirectionCase{"d0_own_square", 0.0f, 3, 3}, DirectionCase{"tie_0_5_to_d0", 0.125f, 3, 3},
                    DirectionCase{"d1_right", 0.25f, 4, 3}, DirectionCase{"tie_1_5_to_d2", 0.375f, 3, 4},
                    DirectionCase{"d2_down", 0.5f, 3, 4}, DirectionCase{"tie_2_5_to_d2", 0.625f, 3, 4},
                    DirectionCase{"d3_left", 0.75f, 2, 3}, DirectionCase{"tie_3_5_to_d4", 0.875f, 3, 2},
                    DirectionCase{"d4_up", 0.99f, 3, 2}),
    [](const auto& info) { return std::string(info.param.name); });

struct WallCase {
    const char* name;
    int x, y;
    float direction;
};

class wall : public testing::TestWithParam<WallCase> {};

TEST_P(wall, stops_the_step_after_the_direction_draw) {
    const WallCase& c = GetParam();
    Layers w;
    w.env.set(c.x, c.y, {100, 100, 100});
    w.rng.push({high, low, low, c.direction});
    w.stepEnvironment(c.x, c.y);
    for (int x = 0; x <= 5; ++x)
        for (int y = 0; y <= 5; ++y)
            EXPECT_EQ(x == c.x && y == c.y, w.env.written(x, y, 0)) << x << "," << y;
    EXPECT_EQ((Rgb{100, 100, 100}), w.env.at(c.x, c.y));
    EXPECT_EQ(0u, w.rng.remaining());
}

INSTANTIATE_TEST_SUITE_P(rules_test, wall,
                         testing::Values(WallCase{"left_of_column_1", 1, 3, 0.75f},
                                         WallCase{"above_row_1", 3, 1, 0.99f},
                                         WallCase{"right_of_last_column", 5, 3, 0.25f},
                                         WallCase{"below_last_row", 3, 5, 0.5f},
                                         WallCase{"column_0_contesting_itself", 0, 3, 0.0f},
                                         WallCase{"row_0_contesting_itself", 3, 0, 0.0f},
                                         WallCase{"down_the_column_0", 0, 3, 0.5f}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(rules_test, square_in_column_0_overtakes_into_column_1) {
    Layers w;
    w.env.set(0, 3, {100, 100, 100});
    w.rng.push({high, low, low, 0.25f, 0.5f, low});
    w.stepEnvironment(0, 3);
    EXPECT_EQ((Rgb{97, 97, 97}), w.env.at(1, 3));
}

struct DefenceCase {
    const char* name;
    Rgb target, targetOther;
    float u;
    bool overtaken;
};

class defence : public testing::TestWithParam<DefenceCase> {};

// Attacker (0, 60, 60) with no other layer: strength 30.
// Defence u * 0.25 T.red + 0.25 T.green + 0.25 T.blue + 0.083 (N.red + N.green + N.blue).
TEST_P(defence, scales_only_the_red_term_by_its_draw) {
    const DefenceCase& c = GetParam();
    Layers w;
    w.env.set(3, 3, {0, 60, 60});
    if (c.target.present())
        w.env.set(4, 3, c.target);
    w.org.set(4, 3, c.targetOther);
    w.rng.push({high, low, low, 0.25f, c.u});
    if (c.overtaken)
        w.rng.push(low);
    w.stepEnvironment();
    EXPECT_EQ((c.overtaken ? Rgb{0, 57, 57} : c.target), w.env.at(4, 3));
    EXPECT_EQ(c.targetOther, w.org.at(4, 3));
    EXPECT_EQ(0u, w.rng.remaining());
}

INSTANTIATE_TEST_SUITE_P(
    rules_test, defence,
    testing::Values(DefenceCase{"red_halved", {200, 0, 0}, {}, 0.5f, true},           // 25
                    DefenceCase{"red_three_quarters", {200, 0, 0}, {}, 0.75f, false}, // 37.5
                    DefenceCase{"green_unscaled_equal", {0, 120, 0}, {}, 0.0f, false},
                    DefenceCase{"green_unscaled_below", {0, 119, 0}, {}, 0.99f, true},
                    DefenceCase{"blue_unscaled_equal", {0, 0, 120}, {}, 0.0f, false},
                    DefenceCase{"other_layer_below", {}, {120, 120, 120}, 0.0f, true},  // 29.88
                    DefenceCase{"other_layer_above", {}, {121, 121, 121}, 0.0f, false}, // 30.12
                    DefenceCase{"other_red_counts", {}, {255, 0, 130}, 0.0f, false}),   // 31.95
    [](const auto& info) { return std::string(info.param.name); });

TEST(rules_test, attacker_strength_counts_the_red_of_its_other_layer) {
    // Strength 25 + 0.083 * 100 = 33.3 beats a defence of 32.5 only through M.red.
    Layers w;
    w.env.set(3, 3, {0, 50, 50});
    w.org.set(3, 3, {100, 0, 0});
    w.env.set(4, 3, {0, 130, 0});
    w.rng.push({high, low, low, 0.25f, 0.0f, low});
    w.stepEnvironment();
    EXPECT_EQ((Rgb{0, 47, 47}), w.env.at(4, 3));
}

TEST(rules_test, own_square_contest_with_red_leaves_its_decayed_colour_or_the_mean_when_blending) {
    Attack plain, blended;
    blended.params.blendOnOvertake = true;
    for (Attack* w : {&plain, &blended}) {
        w->rng.push({0.0f, 0.99f, low}); // defence 25 * 0.99 + 50 = 74.75 < 75
        w->stepEnvironment();
        EXPECT_EQ(0u, w->rng.remaining());
    }
    EXPECT_EQ((Rgb{97, 97, 97}), plain.env.at(3, 3));
    EXPECT_EQ((Rgb{98.5, 98.5, 98.5}), blended.env.at(3, 3));
}

TEST(rules_test, own_square_contest_without_red_is_lost) {
    Layers w;
    w.env.set(3, 3, {0, 100, 100}); // strength 50 against its own defence 50
    w.rng.push({high, low, low, 0.0f, 0.0f});
    w.stepEnvironment();
    EXPECT_EQ((Rgb{0, 100, 100}), w.env.at(3, 3));
    EXPECT_EQ(0u, w.rng.remaining());
}

TEST(rules_test, blending_overtake_leaves_the_mean_of_spread_and_target) {
    Attack w;
    w.params.blendOnOvertake = true;
    w.env.set(4, 3, {1, 0, 40});
    w.org.set(4, 3, {7, 8, 9});
    w.rng.push({0.25f, 0.5f, low});
    w.stepEnvironment();
    EXPECT_EQ((Rgb{49, 48.5, 68.5}), w.env.at(4, 3));
    EXPECT_EQ((Rgb{7, 8, 9}), w.org.at(4, 3));
}

TEST(rules_test, zero_decay_rate_without_blending_copies_the_colour_unchanged) {
    Attack w;
    w.params.decayRate = 0;
    w.rng.push({0.25f, 0.5f, low});
    w.stepEnvironment();
    EXPECT_EQ(w.attacker, w.env.at(4, 3));
}

TEST(rules_test, organism_overtake_does_not_feed_its_environment) {
    Layers w;
    w.org.set(3, 3, {100, 100, 100});
    w.env.set(3, 3, {0, 0, 1});
    w.rng.push({high, low, low, 0.25f, 0.5f, low});
    w.stepOrganism();
    EXPECT_EQ((Rgb{97, 97, 97}), w.org.at(4, 3));
    EXPECT_EQ((Rgb{0, 0, 1}), w.env.at(3, 3));
    EXPECT_FALSE(w.env.written(4, 3, 0));
}

struct MutationCase {
    const char* name;
    bool mutationsOn;
    int32_t frequency;
    float roll;
    bool mutates;
};

class mutation : public testing::TestWithParam<MutationCase> {};

// The mutation roll is drawn on every overtake, whatever the switch; a hit draws the colour.
TEST_P(mutation, spreads_a_single_precision_random_colour_only_on_a_hit_with_mutations_on) {
    const MutationCase& c = GetParam();
    Attack w;
    w.params.mutationsOn = c.mutationsOn;
    w.params.mutationFrequency = c.frequency;
    w.rng.push({0.25f, 0.5f, c.roll});
    if (c.roll == 0.5f && c.frequency == 1)
        w.rng.push(0.0f); // the cell of 0.5 straddles the bound: the second draw says exactly 0.5
    if (c.mutates)
        w.rng.push({0.1f, 0.2f, 0.3f});
    w.stepEnvironment();
    const Rgb random{double(0.1f * 255.0f), double(0.2f * 255.0f), double(0.3f * 255.0f)};
    EXPECT_EQ((c.mutates ? random : Rgb{97, 97, 97}), w.env.at(4, 3));
    EXPECT_EQ(0u, w.rng.remaining());
}

INSTANTIATE_TEST_SUITE_P(rules_test, mutation,
                         testing::Values(MutationCase{"one_hit", true, 1, 0.75f, true},
                                         MutationCase{"one_tie_to_zero", true, 1, 0.5f, false},
                                         MutationCase{"zero_never", true, 0, 0.99f, false},
                                         MutationCase{"switched_off", false, 1, 0.75f, false},
                                         MutationCase{"ten_hit", true, 10, 0.1f, true},
                                         MutationCase{"ten_miss", true, 10, 0.2f, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(rules_test, strength_roll_compares_the_threshold_rounded_to_single_precision) {
    // 0.1f * 255 is 25.50000038 exactly but 25.5 in single precision. A strength between the
    // two lets the rounded threshold win: the layer attacks (its own square) instead of growing.
    const float u = 0.1f;
    const double exact = double(u) * 255.0;
    const double rounded = u * 255.0f;
    ASSERT_LT(rounded, exact);
    const double otherGreen = 255;
    const double red = ((rounded + exact) / 2 - 0.083 * otherGreen) / 0.25;
    const double strength = 0.25 * red + 0.083 * otherGreen;
    ASSERT_LT(rounded, strength);
    ASSERT_LT(strength, exact);

    Layers w;
    w.env.set(3, 3, {red, 0, 0});
    w.org.set(3, 3, {0, otherGreen, 0});
    w.rng.push({high, low, u, 0.0f, 0.0f, low});
    w.stepEnvironment();
    EXPECT_EQ((Rgb{red - 3, 0, 0}), w.env.at(3, 3));
    EXPECT_EQ(0u, w.rng.remaining());
}

// --- asteroids and one-in-N rolls -------------------------------------------------------------

struct RollCase {
    const char* name;
    int32_t n;
    float u;
    std::vector<float> refinement; // the second draw, made only where U's cell straddles a bound
    int32_t chanceRoll;
};

class one_in_n : public testing::TestWithParam<RollCase> {};

// round(V * N) = 1 exactly when V * N lies strictly between 0.5 and 1.5; V is U, refined by a
// second draw inside U's cell [U, U + 2^-24) only when that cell straddles 0.5 / N or 1.5 / N.
TEST_P(one_in_n, asteroid_falls_only_when_the_roll_rounds_to_1) {
    const RollCase& c = GetParam();
    bx::Grid g(4, 4);
    bx::RuleParams p;
    p.gridSizeX = p.gridSizeY = 4;
    p.asteroidFrequency = c.n;
    ScriptedRandom rng{c.u};
    for (float r : c.refinement)
        rng.push(r);
    rng.push({0.5f, 0.5f, 0.5f, 0.5f, 0.5f});
    int32_t chanceRoll = -7;
    bx::rollAsteroid(g, p, rng, chanceRoll);
    EXPECT_EQ(c.chanceRoll, chanceRoll);
    EXPECT_EQ(c.chanceRoll == 1 ? 0u : 5u, rng.remaining());
}

INSTANTIATE_TEST_SUITE_P(
    rules_test, one_in_n,
    testing::Values(RollCase{"n1_half_ties_to_0", 1, 0.5f, {0.0f}, 0},
                    RollCase{"n1_half_refined_above", 1, 0.5f, {0.5f}, 1},
                    RollCase{"n1_just_above_half", 1, 0.50001f, {}, 1},
                    RollCase{"n1_three_quarters", 1, 0.75f, {}, 1},
                    RollCase{"n1_largest", 1, 0.99999994f, {}, 1},
                    RollCase{"n2_quarter_ties_to_0", 2, 0.25f, {0.0f}, 0},
                    RollCase{"n2_just_above_quarter", 2, 0.2500001f, {}, 1},
                    RollCase{"n2_just_below_three_quarters", 2, 0.7499999f, {}, 1},
                    RollCase{"n2_three_quarters_ties_to_2", 2, 0.75f, {}, 2},
                    RollCase{"n3_half_ties_to_2", 3, 0.5f, {}, 2}, RollCase{"n0_never", 0, 0.99f, {}, 0},
                    RollCase{"n_million_hit", 1000000, 0.000001f, {}, 1},
                    RollCase{"n_million_miss", 1000000, 0.5f, {}, 500000},
                    // 2^-24 * 10^8 is 5.96: the lowest cell holds the whole winning interval.
                    RollCase{"n_hundred_million_refined_hit", 100000000, 0.0f, {0.15f}, 1},
                    RollCase{"n_hundred_million_refined_miss", 100000000, 0.0f, {0.5f}, 3},
                    RollCase{"n_hundred_million_miss", 100000000, 0.5f, {}, 50000000}),
    [](const auto& info) { return std::string(info.param.name); });

// The chance of a roll, exactly: V runs over the 2^48 values (k + j 2^-24) 2^-24, and the
// rounded roll never falls as V grows, so the hits are the values from the first with a roll of
// at least 1 to the last below the first with a roll of at least 2.
double exactChanceOfOneIn(int32_t n) {
    const auto firstAtLeast = [n](int32_t roll) {
        uint64_t lo = 0, hi = uint64_t(1) << 48; // the answer lies in [lo, hi]
        while (lo < hi) {
            const uint64_t mid = lo + (hi - lo) / 2;
            ScriptedRandom rng{float(mid >> 24) * 0x1.0p-24f, float(mid & 0xFFFFFF) * 0x1.0p-24f};
            int32_t chanceRoll = 0;
            bx::rollOneIn(rng, n, chanceRoll);
            (chanceRoll >= roll ? hi : lo) = chanceRoll >= roll ? mid : mid + 1;
        }
        return lo;
    };
    return double(firstAtLeast(2) - firstAtLeast(1)) * 0x1.0p-48;
}

TEST(rules_test, one_in_n_rolls_have_the_chance_one_in_n_over_the_whole_option_range) {
    EXPECT_EQ(0.0, exactChanceOfOneIn(0));
    EXPECT_NEAR(0.5, exactChanceOfOneIn(1), 1e-12);
    std::vector<int32_t> ns{16777215, 16777216, 16777217, 25165823, 25165824, 25165825, 100000000};
    for (double n = 2; n < 1e8; n *= 1.37)
        ns.push_back(int32_t(n));
    for (int32_t n : ns)
        EXPECT_NEAR(1.0, exactChanceOfOneIn(n) * n, 0.01) << "1 in " << n;
}

TEST(rules_test, asteroid_draws_roll_column_row_red_green_blue_in_that_order_and_replaces_the_square) {
    bx::Grid g(10, 8);
    g.set(1, 8, {1, 2, 3});
    bx::RuleParams p;
    p.gridSizeX = 10;
    p.gridSizeY = 8;
    p.asteroidFrequency = 1;
    ScriptedRandom rng{0.75f, 0.0f, 0.99f, 0.2f, 0.4f, 0.6f}; // column 1, row round(7.93) = 8
    int32_t chanceRoll = 0;
    bx::rollAsteroid(g, p, rng, chanceRoll);
    EXPECT_EQ((Rgb{double(0.2f * 255.0f), double(0.4f * 255.0f), double(0.6f * 255.0f)}), g.at(1, 8));
    EXPECT_EQ(0u, rng.remaining());
}

struct LandingCase {
    const char* name;
    float ux, uy;
    int column, row;
};

class asteroid_landing : public testing::TestWithParam<LandingCase> {};

// Column (10 - 1) U + 1 and row (8 - 1) U + 1, rounded half to even.
TEST_P(asteroid_landing, lands_on_the_rounded_position_inside_the_visible_world) {
    const LandingCase& c = GetParam();
    bx::Grid g(10, 8);
    bx::RuleParams p;
    p.gridSizeX = 10;
    p.gridSizeY = 8;
    p.asteroidFrequency = 1;
    ScriptedRandom rng{0.75f, c.ux, c.uy, 0.5f, 0.5f, 0.5f};
    int32_t chanceRoll = 0;
    bx::rollAsteroid(g, p, rng, chanceRoll);
    for (int x = 0; x <= 10; ++x)
        for (int y = 0; y <= 8; ++y)
            EXPECT_EQ(x == c.column && y == c.row, g.written(x, y, 0)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(rules_test, asteroid_landing,
                         testing::Values(LandingCase{"smallest", 0.0f, 0.0f, 1, 1},
                                         LandingCase{"largest", 0.99999994f, 0.99999994f, 10, 8},
                                         LandingCase{"half_ties_to_even", 0.5f, 0.5f, 6, 4}, // 5.5, 4.5
                                         LandingCase{"ties_down_and_up_to_2", 0.5f / 3.0f, 0.5f / 7.0f, 2,
                                                     2}), // 2.5, 1.5
                         [](const auto& info) { return std::string(info.param.name); });

TEST(rules_test, asteroids_off_still_draw_the_roll_and_nothing_else) {
    bx::Grid g(4, 4);
    bx::RuleParams p;
    p.gridSizeX = p.gridSizeY = 4;
    p.asteroidsOn = false;
    p.asteroidFrequency = 1;
    ScriptedRandom rng{0.75f};
    int32_t chanceRoll = 0;
    bx::rollAsteroid(g, p, rng, chanceRoll);
    EXPECT_EQ(1, chanceRoll);
    EXPECT_EQ(bx::Grid(4, 4), g);
}

} // namespace

// Profiles and --set refuse such a mode; an options record set in code is left as it was.
TEST(rules_test, a_colour_mode_no_scheme_has_keeps_the_colour_and_the_cycle_and_draws_nothing) {
    for (const int mode : {0, static_cast<int>(bx::colourSchemes().size()) + 1}) {
        ScriptedRandom rng;
        int cycle = 2;
        Rgb colour{1, 2, 3};
        bx::pickNewColour(mode, {}, cycle, rng, colour);
        EXPECT_EQ((Rgb{1, 2, 3}), colour);
        EXPECT_EQ(2, cycle);
    }
}

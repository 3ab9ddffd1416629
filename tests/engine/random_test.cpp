#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "engine/random.h"
#include "support/scriptedrandom.h"

namespace {

std::vector<float> draw(bx::RandomSource& r, int n) {
    std::vector<float> v;
    for (int i = 0; i < n; ++i)
        v.push_back(r.next());
    return v;
}

TEST(random_test, numbers_lie_in_the_half_open_unit_interval_and_spread_over_it) {
    bx::RandomGenerator r(7);
    float lo = 1, hi = 0;
    double sum = 0;
    const int n = 200000;
    for (int i = 0; i < n; ++i) {
        const float u = r.next();
        ASSERT_GE(u, 0.0f);
        ASSERT_LT(u, 1.0f);
        lo = std::min(lo, u);
        hi = std::max(hi, u);
        sum += u;
    }
    EXPECT_LT(lo, 0.001f);
    EXPECT_GT(hi, 0.999f);
    EXPECT_NEAR(0.5, sum / n, 0.01);
}

TEST(random_test, a_fixed_seed_repeats_its_sequence_across_reseeds) {
    bx::RandomGenerator a(42), b(42);
    for (int pass = 0; pass < 5; ++pass) {
        EXPECT_EQ(draw(a, 50), draw(b, 50));
        a.reseed();
        b.reseed();
    }
}

TEST(random_test, reseeds_in_quick_succession_never_replay_the_same_numbers) {
    bx::RandomGenerator clock; // seeded from the clock
    std::set<std::vector<float>> seen;
    for (int i = 0; i < 1000; ++i) {
        clock.reseed();
        EXPECT_TRUE(seen.insert(draw(clock, 4)).second) << "reseed " << i << " replayed a sequence";
    }
    bx::RandomGenerator fixed(3);
    std::set<std::vector<float>> seenFixed;
    for (int i = 0; i < 1000; ++i) {
        fixed.reseed();
        EXPECT_TRUE(seenFixed.insert(draw(fixed, 4)).second);
    }
}

TEST(random_test, a_stream_gives_the_generators_own_numbers_and_hands_its_state_back) {
    bx::RandomGenerator buffered(99), streamed(99);
    buffered.reseed();
    streamed.reseed();
    bx::RandomGenerator::Stream s = streamed.stream();
    std::vector<float> fromStream;
    for (int i = 0; i < 40; ++i)
        fromStream.push_back(s.next());
    streamed.adopt(s);
    EXPECT_EQ(draw(buffered, 40), fromStream);
    bx::RandomGenerator::Stream again = streamed.stream();
    EXPECT_EQ(s.next(), again.next()); // adopt() took the stream's state, not a stale copy
}

TEST(random_test, different_seeds_give_different_sequences) {
    bx::RandomGenerator a(1), b(2);
    EXPECT_NE(draw(a, 8), draw(b, 8));
}

TEST(random_test, scripted_source_gives_its_numbers_in_order_through_reseeds_then_throws) {
    bx::test::ScriptedRandom s{0.25f, 0.5f};
    EXPECT_EQ(0.25f, s.next());
    s.reseed();
    EXPECT_EQ(0.5f, s.next());
    EXPECT_EQ(1, s.reseeds());
    EXPECT_THROW(s.next(), std::out_of_range);
}

} // namespace

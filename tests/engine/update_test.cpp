#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <initializer_list>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "engine/painting.h"
#include "support/plainrules.h"
#include "support/simfixture.h"

namespace {

using Square = std::pair<int, int>;

// An empty world (nothing to create, no asteroid ever hits) that has been drawn and started.
struct RunningWorld : bx::test::SimFixture {
    RunningWorld(int sizeX, int sizeY, int slowdown = 0) {
        options.gridSizeX = sizeX;
        options.gridSizeY = sizeY;
        options.slowdown = slowdown;
        options.startOrganisms = options.startEnvironments = 0;
        options.promptOnDeath = false;
        scripted.fillWith(0.0f);
        sim->reset();
        tickWhile(bx::Phase::Create);
        tickWhile(bx::Phase::Draw);
        sim->startStop();
        canvas.boxes.clear();
    }
    // Squares repainted by the update, in order (only the full-square boxes).
    std::vector<Square> updatedSquares() const {
        std::vector<Square> out;
        const double s = world.squareSize;
        for (const auto& b : canvas.boxes)
            if (b.x2 - b.x1 == s)
                out.emplace_back(static_cast<int>(b.x1 / s) + 1, static_cast<int>(b.y1 / s) + 1);
        return out;
    }
};

TEST(update_test, first_generation_sweeps_column_zero_from_row_zero_then_never_reaches_the_last_column) {
    RunningWorld f(3, 2);
    for (int i = 0; i < 3; ++i)
        f.sim->tick();
    const std::vector<Square> expected{{0, 0}, {0, 1}, {0, 2}, {1, 1}, {1, 2}, {2, 1}, {2, 2}};
    EXPECT_EQ(expected, f.updatedSquares());
    EXPECT_EQ(1, f.world.generation);
}

TEST(update_test, later_generations_start_with_the_last_column_then_go_from_the_first) {
    RunningWorld f(3, 2);
    f.world.orgGrid.set(1, 1, {0, 0, 1}); // keeps the world alive (see the counters test)
    for (int i = 0; i < 3; ++i)
        f.sim->tick();
    f.canvas.boxes.clear();
    for (int i = 0; i < 3; ++i)
        f.sim->tick();
    const std::vector<Square> expected{{3, 1}, {3, 2}, {1, 1}, {1, 2}, {2, 1}, {2, 2}};
    EXPECT_EQ(expected, f.updatedSquares());
    EXPECT_EQ((std::vector<std::string>{"Running 1 of 3.", "Running 2 of 3.", "Running 3 of 3."}),
              std::vector<std::string>(f.host.displayCaptions.end() - 3, f.host.displayCaptions.end()));
}

TEST(update_test, slowdown_five_updates_eight_squares_a_pass_on_fifty_rows) {
    RunningWorld f(2, 50, 5);
    f.sim->tick();
    EXPECT_EQ(8u, f.updatedSquares().size());
    int ticks = 1;
    while (f.driver().stepColumn == 0) {
        f.sim->tick();
        ++ticks;
    }
    EXPECT_EQ(7, ticks); // rows 0..50 of column 0: 6 x 8 + 3
}

// A pass updates at least one square, however many parts the slowdown cuts a short column into.
TEST(update_test, every_slowdown_ends_generations_on_columns_of_one_to_six_rows) {
    for (int slowdown = -5; slowdown <= 5; ++slowdown)
        for (int rows = 1; rows <= 6; ++rows) {
            RunningWorld f(2, rows, slowdown);
            f.world.orgGrid.set(1, 1, {0, 0, 1}); // keeps the world alive (see the counters test)
            for (int ticks = 0; ticks < 100 && f.world.generation < 2; ++ticks)
                f.sim->tick();
            EXPECT_EQ(2, f.world.generation) << "slowdown " << slowdown << ", " << rows << " rows";
        }
}

TEST(update_test, a_dead_world_resets_at_the_end_of_the_generation_after_it_was_seen_dead) {
    RunningWorld f(2, 2);
    f.sim->tick();
    f.sim->tick(); // generation 1 ends lifeless
    EXPECT_EQ(1, f.driver().deathCount);
    EXPECT_EQ((std::vector<bool>{false}), f.host.generationsEnded);
    f.sim->tick();
    f.sim->tick(); // generation 2 ends: the dead world is reset without asking
    EXPECT_EQ((std::vector<bool>{false, true}), f.host.generationsEnded);
    EXPECT_EQ(bx::Phase::Create, f.world.phase);
    EXPECT_EQ(0, f.driver().deathCount); // -1 after handling, then this lifeless generation counts
    EXPECT_EQ(0, f.world.generation);
    EXPECT_TRUE(f.host.questions.empty());
    EXPECT_TRUE(f.world.running);
}

TEST(update_test, dead_world_question_answered_no_changes_nothing_and_is_not_asked_again) {
    RunningWorld f(2, 2);
    f.options.promptOnDeath = true;
    f.host.defaultAnswer = bx::Answer::No;
    for (int i = 0; i < 8; ++i)
        f.sim->tick();
    ASSERT_EQ(1u, f.host.questions.size());
    const bx::Question& q = f.host.questions.front();
    EXPECT_EQ("Reset simulation?", q.title);
    EXPECT_EQ(
        "The world seems to be dead.\nNo life was seen last update\nDo you want to reset the simulation?",
        q.text);
    EXPECT_EQ(bx::MessageIcon::Information, q.icon);
    EXPECT_EQ(10001, q.helpContext);
    EXPECT_EQ(bx::Phase::Run, f.world.phase);
    EXPECT_EQ(4, f.world.generation);
    EXPECT_EQ(4, f.driver().deathCount);
}

TEST(update_test, a_dead_world_in_full_screen_is_seeded_again_over_the_old_grids) {
    RunningWorld f(2, 2);
    f.world.fullScreen = true;
    f.world.fullScreenSquareSize = 10;
    f.world.envGrid.set(1, 1, {0, 0, 0}); // written but black: no life, and must survive the restart
    for (int i = 0; i < 4; ++i)
        f.sim->tick();
    EXPECT_EQ(bx::Phase::Create, f.world.phase);
    EXPECT_EQ(2, f.world.generation); // restart keeps the counters
    EXPECT_TRUE(f.world.envGrid.written(1, 1, 0));
    EXPECT_EQ(0, f.host.saveDialogs);
}

TEST(update_test, counters_show_the_finished_generation_and_clear_for_the_next) {
    RunningWorld f(2, 2);
    // With every draw 0 this organism neither decays nor grows, and its own defence equals its strength.
    f.world.orgGrid.set(1, 1, {0, 0, 1});
    f.sim->tick();
    f.sim->tick();
    EXPECT_EQ(1, f.host.shownGeneration);
    EXPECT_EQ(1, f.host.shownOrganisms);
    EXPECT_EQ(0, f.host.shownEnvironments);
    EXPECT_EQ(0, f.world.organismCount);
    EXPECT_EQ(0, f.driver().deathCount);
}

TEST(update_test, each_pass_reseeds_and_the_read_out_follows_the_mouse_after_the_tick) {
    RunningWorld f(2, 2);
    const int before = f.scripted.reseeds();
    f.driver().mouseX = 9;
    f.driver().mouseY = 0;
    f.sim->tick();
    EXPECT_EQ(before + 1, f.scripted.reseeds());
    EXPECT_EQ(2, f.host.lastReadout.column);
    EXPECT_EQ(1, f.host.lastReadout.row);
    f.world.trackMouse = false;
    const int shown = f.host.readoutsShown;
    f.sim->tick();
    EXPECT_EQ(shown, f.host.readoutsShown);
}

// Hands out a generator stream's numbers one at a time, through the plain interface only.
class PlainSource final : public bx::RandomSource {
public:
    explicit PlainSource(bx::RandomGenerator::Stream s) : stream_(s) {}
    float peekNext() { return bx::RandomGenerator::Stream(stream_).next(); }

protected:
    std::size_t produce(float* out, std::size_t) override {
        *out = stream_.next();
        return 1;
    }
    void reseedSource() override {}

private:
    bx::RandomGenerator::Stream stream_;
};

// Worlds equal to the bit, with the same squares never written.
bool identical(const bx::Grid& a, const bx::Grid& b) {
    if (a.sizeX() != b.sizeX() || a.sizeY() != b.sizeY())
        return false;
    for (int x = 0; x <= a.sizeX(); ++x)
        for (int y = 0; y <= a.sizeY(); ++y)
            for (int ch = 0; ch < 3; ++ch)
                if (a.written(x, y, ch) != b.written(x, y, ch) ||
                    std::bit_cast<uint64_t>(a.channel(x, y, ch)) !=
                        std::bit_cast<uint64_t>(b.channel(x, y, ch)))
                    return false;
    return true;
}

// A random world for a trial: every kind of square (never written, black, dim, bright, fractional).
bx::Grid randomGrid(int sizeX, int sizeY, std::mt19937& pick) {
    bx::Grid g(sizeX, sizeY);
    std::uniform_int_distribution<int> kind(0, 4), whole(0, 255);
    std::uniform_real_distribution<double> real(0, 255);
    for (int x = 0; x <= sizeX; ++x)
        for (int y = 0; y <= sizeY; ++y)
            switch (kind(pick)) {
            case 0:
                break;
            case 1:
                g.set(x, y, {0, 0, 0});
                break;
            case 2:
                g.set(x, y, {double(whole(pick) / 8), double(whole(pick) / 8), double(whole(pick) / 8)});
                break;
            case 3:
                g.set(x, y, {double(whole(pick)), double(whole(pick)), double(whole(pick))});
                break;
            default:
                g.set(x, y, {real(pick), real(pick), real(pick)});
                break;
            }
    return g;
}

bx::RuleParams randomParams(std::mt19937& pick) {
    const auto any = [&pick](std::initializer_list<int32_t> values) {
        return values.begin()[std::uniform_int_distribution<std::size_t>(0, values.size() - 1)(pick)];
    };
    bx::RuleParams p;
    p.gridSizeX = any({1, 2, 5, 13});
    p.gridSizeY = any({1, 3, 8});
    p.decayRate = any({0, 1, 3, 20, 255});
    p.growthRate = any({0, 1, 2, 9, 255});
    p.mutationsOn = any({0, 1}) == 1;
    p.mutationFrequency = any({0, 1, 2, 3, 50, 1000000, 100000000});
    p.asteroidsOn = any({0, 1}) == 1;
    p.asteroidFrequency = any({0, 1, 2, 7, 300, 16777216, 100000000});
    p.blendOnOvertake = any({0, 1}) == 1;
    return p;
}

// The update draws the attack roll ahead on a generator stream and decides without branches; the
// plain rules draw one number at a time and decide with ifs. Over many seeds and option sets both
// must give the same worlds, counters and rolls, and use up the same numbers: on either generator
// path (a stream, or a source that cannot be copied and so draws the attack roll only when the
// layer acts), with every build of the loop the processor can run, hidden or shown (a queue told
// of the writes, every other trial).
struct FastCase {
    bool stream; // else through RandomSource&
    bx::CpuVariant variant;
    friend void PrintTo(const FastCase& c, std::ostream* out) {
        *out << (c.stream ? "stream, " : "source, ") << bx::cpuVariantName(c.variant);
    }
};
class fast_update : public testing::TestWithParam<FastCase> {};

TEST_P(fast_update, gives_the_worlds_of_the_plain_rules) {
    const FastCase& c = GetParam();
    if (!bx::cpuRuns(c.variant))
        GTEST_SKIP() << "this processor cannot run " << bx::cpuVariantName(c.variant);
    std::mt19937 pick(2026);
    for (int trial = 0; trial < 300; ++trial) {
        const bx::RuleParams p = randomParams(pick);
        bx::Grid env[2], org[2];
        env[0] = env[1] = randomGrid(p.gridSizeX, p.gridSizeY, pick);
        org[0] = org[1] = randomGrid(p.gridSizeX, p.gridSizeY, pick);
        int32_t envCount = 0, orgCount = 0, roll = 0;
        bx::RandomGenerator::Stream fast = bx::RandomGenerator(uint64_t(trial)).stream();
        PlainSource fastSource(fast), plain(fast);
        bx::ColumnStretch stretch{env[0], org[0]};
        bx::PaintQueue queue;
        queue.restart(p.gridSizeX + 1, p.gridSizeY + 1, {});
        const bool shown = trial % 2 == 1;
        for (int sweep = 0; sweep < 6; ++sweep)
            for (int x = 0; x <= p.gridSizeX; ++x) {
                stretch.column = x;
                stretch.row = 0;
                const uint64_t base = shown ? queue.addColumn(x, 0, p.gridSizeY + 1) : 0;
                if (c.stream)
                    fast = bx::updateRows(c.variant, stretch, fast, p, p.gridSizeY + 1,
                                          shown ? &queue : nullptr, base);
                else
                    bx::updateRows<bx::RandomSource&>(c.variant, stretch, fastSource, p, p.gridSizeY + 1,
                                                      shown ? &queue : nullptr, base);
                for (int y = 0; y <= p.gridSizeY; ++y)
                    bx::test::plainUpdateSquare(env[1], org[1], x, y, envCount, orgCount, p, plain, roll);
            }
        ASSERT_TRUE(identical(env[0], env[1])) << "trial " << trial;
        ASSERT_TRUE(identical(org[0], org[1])) << "trial " << trial;
        ASSERT_EQ(stretch.environmentCount, envCount) << "trial " << trial;
        ASSERT_EQ(stretch.organismCount, orgCount) << "trial " << trial;
        ASSERT_EQ(stretch.chanceRoll, roll) << "trial " << trial;
        ASSERT_EQ(c.stream ? fast.next() : fastSource.peekNext(), plain.peekNext()) << "trial " << trial;
    }
}

std::vector<FastCase> everyFastCase() {
    std::vector<FastCase> cases;
    for (bool stream : {true, false})
        for (bx::CpuVariant variant : bx::builtCpuVariants())
            cases.push_back({stream, variant});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(update_test, fast_update, testing::ValuesIn(everyFastCase()), [](const auto& info) {
    std::string name =
        std::string(info.param.stream ? "stream_" : "source_") + bx::cpuVariantName(info.param.variant);
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

// A shown world's pass paints every square as its own update left it, though a later square of
// the pass or of a later pass may overtake it or an asteroid land on it before it is painted:
// each pass is replayed square by square on copies of the grids and the generator, painting each
// square at once. A canvas painted after every pass gets the same boxes; a canvas that shows
// frames, painted out every few ticks, the same pixels.
struct PassCase {
    const char* name;
    bool blend;
    int32_t asteroidFrequency;
    int slowdown;
    int ticksPerFrame; // 0: a canvas painted after every pass
};
class pass_painting : public testing::TestWithParam<PassCase> {};

TEST_P(pass_painting, shows_each_square_as_its_own_update_left_it) {
    const PassCase& c = GetParam();
    auto owned = std::make_unique<bx::RandomGenerator>(uint64_t(11));
    bx::RandomGenerator& generator = *owned;
    bx::test::SimFixture f(std::move(owned));
    f.options.gridSizeX = 5;
    f.options.gridSizeY = 40;
    f.options.environmentStartMode = bx::StartFull;
    f.options.fullOrganisms = true;
    f.options.blendOnOvertake = c.blend;
    f.options.asteroidFrequency = c.asteroidFrequency;
    f.options.slowdown = c.slowdown;
    f.canvas.frames = c.ticksPerFrame > 0;
    f.sim->reset();
    f.tickWhile(bx::Phase::Create);
    f.tickWhile(bx::Phase::Draw);
    f.sim->startStop();
    f.canvas.boxes.clear();
    bx::test::RecordingCanvas atOnce;
    bx::test::PixelGrid framed{48, 330}, reference{48, 330};
    for (int tick = 1; tick <= 400; ++tick) {
        bx::RandomGenerator replay = generator;
        bx::Grid env = f.world.envGrid, org = f.world.orgGrid;
        int32_t envCount = f.world.environmentCount, orgCount = f.world.organismCount,
                roll = f.driver().chanceRoll;
        const int column = f.driver().squareX, firstRow = f.driver().stepRow;
        f.sim->tick();
        replay.reseed();
        bx::RandomGenerator::Stream stream = replay.stream();
        const bx::RuleParams p = bx::ruleParamsOf(f.options, env, org);
        for (int row = firstRow;
             row <= p.gridSizeY && row < firstRow + bx::passBudget(p.gridSizeY, c.slowdown); ++row) {
            bx::updateSquareLayers(env, org, column, row, envCount, orgCount, p, stream, roll);
            bx::paintSquareModel(atOnce, column, row, f.world.squareSize, org.at(column, row),
                                 env.at(column, row), true, true);
        }
        if (c.ticksPerFrame == 0) {
            ASSERT_EQ(atOnce.boxes, f.canvas.boxes) << "tick " << tick;
        } else if (tick % c.ticksPerFrame == 0) {
            f.sim->paintWaiting();
            framed.paint(f.canvas.boxes);
            reference.paint(atOnce.boxes);
            ASSERT_EQ(framed.pixels, reference.pixels) << "tick " << tick;
        } else {
            continue;
        }
        atOnce.boxes.clear();
        f.canvas.boxes.clear();
    }
}

INSTANTIATE_TEST_SUITE_P(update_test, pass_painting,
                         testing::Values(PassCase{"whole_columns", true, 1000000, 0, 0},
                                         PassCase{"asteroids_often", true, 3, 0, 0},
                                         PassCase{"unblended_in_passes_of_ten", false, 5, 3, 0},
                                         PassCase{"frames_of_a_generation_and_more", true, 3, 0, 7},
                                         PassCase{"frames_within_a_column", false, 5, 3, 2},
                                         PassCase{"frames_of_odd_lengths", true, 40, 1, 13}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

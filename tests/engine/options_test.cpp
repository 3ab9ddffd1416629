#include <gtest/gtest.h>

#include "engine/options.h"
#include "support/printers.h"
#include "support/simfixture.h"

namespace {

TEST(options_test, defaults_build_the_identity_strings_and_reset_the_view_and_the_driver) {
    bx::test::SimFixture f;
    bx::SimulationOptions& o = f.options;
    o.gridSizeX = 7;
    o.environmentColourMode = 3;
    bx::WorldState& w = f.world;
    w.showOrganisms = w.showEnvironment = w.simulationShown = false;
    w.fullScreen = w.running = true;
    w.squareSize = 32;
    f.driver().colourCycle = 2;
    f.driver().paintColour = {1, 2, 3};
    f.sim->setPassesPerTick(12);
    f.sim->restoreDefaults("/opt/bramblex/bramblex.hlp");

    EXPECT_EQ("2.1", o.versionString);
    EXPECT_EQ("Bramblex 2.1", o.mainTitle);
    EXPECT_EQ("Simulator", o.displayTitle);
    EXPECT_EQ("/opt/bramblex/bramblex.hlp", o.helpFilePath);
    EXPECT_EQ(50, o.gridSizeX);
    EXPECT_EQ(1, o.environmentColourMode);
    EXPECT_TRUE(w.showOrganisms && w.showEnvironment && w.simulationShown && w.trackMouse);
    EXPECT_FALSE(w.fullScreen || w.running);
    EXPECT_EQ(8, w.squareSize);
    EXPECT_EQ(0, f.driver().colourCycle);
    EXPECT_EQ(1, f.sim->passesPerTick());
    EXPECT_EQ(bx::Rgb{}, f.driver().paintColour);
}

// Resetting to defaults passes the record's own help path: it must survive the clearing.
TEST(options_test, defaults_keep_a_help_path_taken_from_the_record_itself) {
    bx::SimulationOptions o;
    o.helpFilePath = "/opt/bramblex/bramblex.hlp";
    bx::setDefaultOptions(o, 2, 1, o.helpFilePath);
    EXPECT_EQ("/opt/bramblex/bramblex.hlp", o.helpFilePath);
}

TEST(options_test, packed_colours_split_into_whole_components) {
    const int64_t c = 12 + 256 * 34 + 65536 * 56;
    EXPECT_EQ(12, bx::redOf(c));
    EXPECT_EQ(34, bx::greenOf(c));
    EXPECT_EQ(56, bx::blueOf(c));
    EXPECT_EQ(255, bx::redOf(16777215));
    EXPECT_EQ(255, bx::greenOf(16777215));
    EXPECT_EQ(255, bx::blueOf(16777215));
    EXPECT_EQ(0, bx::blueOf(65535));
}

} // namespace

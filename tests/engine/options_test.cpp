#include <gtest/gtest.h>

#include "engine/options.h"
#include "engine/worldstate.h"

namespace {

TEST(options_test, defaults_build_the_identity_strings_and_reset_the_view) {
    bx::SimulationOptions o;
    o.gridSizeX = 7;
    o.environmentColourMode = 3;
    bx::WorldState w;
    w.showOrganisms = w.showEnvironment = w.simulationShown = false;
    w.fullScreen = w.running = true;
    w.squareSize = 32;
    w.colourCycle = 2;
    w.paintColour = {1, 2, 3};
    bx::setDefaultOptions(o, w, 2, 1, "/opt/bramblex/bramblex.hlp");

    EXPECT_EQ("2.1", o.versionString);
    EXPECT_EQ("Bramblex 2.1", o.mainTitle);
    EXPECT_EQ("Simulator", o.displayTitle);
    EXPECT_EQ("/opt/bramblex/bramblex.hlp", o.helpFilePath);
    EXPECT_EQ(50, o.gridSizeX);
    EXPECT_EQ(1, o.environmentColourMode);
    EXPECT_TRUE(w.showOrganisms && w.showEnvironment && w.simulationShown && w.trackMouse);
    EXPECT_FALSE(w.fullScreen || w.running);
    EXPECT_EQ(8, w.squareSize);
    EXPECT_EQ(0, w.colourCycle);
    EXPECT_EQ(1, w.passesPerTick);
    EXPECT_EQ(bx::Rgb{}, w.paintColour);
}

// Resetting to defaults passes the record's own help path: it must survive the clearing.
TEST(options_test, defaults_keep_a_help_path_taken_from_the_record_itself) {
    bx::SimulationOptions o;
    bx::WorldState w;
    o.helpFilePath = "/opt/bramblex/bramblex.hlp";
    bx::setDefaultOptions(o, w, 2, 1, o.helpFilePath);
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

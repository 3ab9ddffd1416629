#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace bx {

// A user colour: three whole components 0..255.
struct UserColour {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const UserColour&) const = default;
};

enum EnvironmentStartMode : int { StartRandom = 1, StartFull = 2, StartIdeal = 3, StartNone = 4 };
enum ColourMode : int { ColourRandom = 1, ColourPrimary = 2, ColourChoose = 3 };

// Every user-settable parameter of a simulation, plus the program's identity strings.
// One instance per program, owned by the application object and passed by reference.
struct SimulationOptions {
    int gridSizeX = 50;
    int gridSizeY = 50;
    int startOrganisms = 10;
    bool fullOrganisms = false;
    int startEnvironments = 10;
    int environmentStartMode = StartRandom;
    int growthRate = 2;
    int decayRate = 3;
    int environmentStartDecay = 10;
    bool environmentBlending = true;
    bool blendOnOvertake = true;
    bool mutationsOn = true;
    int32_t mutationFrequency = 1000000;
    bool asteroidsOn = true;
    int32_t asteroidFrequency = 1000000;
    int organismColourMode = ColourRandom;
    int environmentColourMode = ColourRandom;
    std::array<UserColour, 6> orgUserColour{}; // orgUserColour1 .. orgUserColour6
    std::array<UserColour, 6> envUserColour{}; // envUserColour1 .. envUserColour6
    bool promptOnReset = true;
    bool promptOnDeath = false;
    bool promptOnDefaults = true;
    bool promptOnSave = false;
    bool promptOnAccept = true;
    int slowdown = 0;

    // Identity, set with the defaults; not part of a profile.
    std::string versionString;
    std::string mainTitle;
    std::string displayTitle;
    std::string helpFilePath;

    bool operator==(const SimulationOptions&) const = default;
};

// The simulator's version, written to and checked in profiles.
inline constexpr int simulatorMajorVersion = 2;
inline constexpr int simulatorMinorVersion = 1;

std::string versionStringOf(int major, int minor);

// Sets every option to its default and builds the identity strings for the given version and
// help-file path (the record's own path may be passed).
void setDefaultOptions(SimulationOptions& options, int major, int minor, std::string helpFilePath);

// Split a packed colour (red + 256 green + 65536 blue) into whole components.
int redOf(int64_t colour);
int greenOf(int64_t colour);
int blueOf(int64_t colour);

} // namespace bx

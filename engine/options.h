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
// The colour schemes' modes (engine/colourschemes.cpp has a row for each, 1..lastColourMode).
enum ColourMode : int {
    ColourRandom = 1,
    ColourPrimary = 2,
    ColourChoose = 3,
    lastColourMode = ColourChoose
};

// Every option, declared once: one row each, in the order of the record.
//   INTEGER(name, default, minimum, maximum, reader, place, control, description)
//   FLAG(name, default, reader, place, control, description)
//   COLOURS(name, place, description)  six user colours name1..name6, black by default
// reader: Rules when the generation update reads it (it is then a member of RuleParams, with the
// same default), Setup otherwise. The range, the place in a profile (at(line, item), notStored;
// a new place changes the file format), the options window's control (its kind and objectName)
// and the one-line description (for --help and the man page) are read by the option table in
// options/optionfields.cpp; the engine expands only what it needs.
#define BX_OPTIONS(INTEGER, FLAG, COLOURS)                                                                   \
    INTEGER(gridSizeX, 50, 1, largestGridSize, Rules, at(17, 1, largestFileGridSize),                        \
            gridWidth("gridsizextext", "gridsizexslider"), "world width in squares")                         \
    INTEGER(gridSizeY, 50, 1, largestGridSize, Rules, at(17, 2, largestFileGridSize),                        \
            gridHeight("gridsizeytext", "gridsizeyslider"), "world height in squares")                       \
    INTEGER(startOrganisms, 10, 1, 2000, Setup, at(16, 2), startCount("startorgtext", "startorgslider"),     \
            "organisms placed at random squares when a world is created")                                    \
    FLAG(fullOrganisms, false, Setup, at(15, 2), checkBox("fullorganisms"),                                  \
         "an organism on every square at creation")                                                          \
    INTEGER(startEnvironments, 10, 1, 2000, Setup, at(16, 3),                                                \
            startCount("startenvironmenttext", "startenvironmentslider"),                                    \
            "environment seeds placed at creation in start mode 1")                                          \
    INTEGER(environmentStartMode, StartRandom, StartRandom, StartNone, Setup, at(17, 3), choice,             \
            "environments at creation: 1 Random (startEnvironments seeds, coloured by "                      \
            "environmentColourMode), 2 Full (every square, coloured by environmentColourMode), 3 Ideal "     \
            "(every square white), 4 None (no environments)")                                                \
    INTEGER(growthRate, 2, 0, 255, Rules, at(19, 1), numberBox("growthratetext", "growthrateslider"),        \
            "world growth rate")                                                                             \
    INTEGER(decayRate, 3, 0, 255, Rules, at(18, 3), numberBox("decayratetext", "decayrateslider"),           \
            "world decay rate")                                                                              \
    INTEGER(environmentStartDecay, 10, 0, 255, Setup, at(18, 2),                                             \
            numberBox("envstartdecaytext", "envstartdecayslider"),                                           \
            "how quickly the rings around new environment seeds fade at creation")                           \
    FLAG(environmentBlending, true, Setup, at(18, 1), checkBox("environmentblend"),                          \
         "colours mix when a layer spreads")                                                                 \
    FLAG(blendOnOvertake, true, Rules, notStored, checkBox("blendonovertake"),                               \
         "a square taken over mixes the old and the new colour")                                             \
    FLAG(mutationsOn, true, Rules, at(22, 1), checkBox("mutationcheck"), "mutations happen")                 \
    INTEGER(mutationFrequency, 1000000, 0, largestFrequency, Rules, at(22, 3), numberBox("mutationtext"),    \
            "the chance of a mutation per overtake, one in this many (0: never)")                            \
    FLAG(asteroidsOn, true, Rules, at(22, 2), checkBox("asteroidscheck"), "asteroids fall")                  \
    INTEGER(asteroidFrequency, 1000000, 0, largestFrequency, Rules, at(23, 1), numberBox("asteroidstext"),   \
            "the chance of an asteroid per square update, one in this many (0: never)")                      \
    INTEGER(organismColourMode, ColourRandom, ColourRandom, lastColourMode, Setup, at(15, 3), choice,        \
            "the colour of each new organism: 1 Random, 2 Primary (red, blue and yellow in turn), 3 Choose " \
            "(orgUserColour1..6 in turn)")                                                                   \
    INTEGER(                                                                                                 \
        environmentColourMode, ColourRandom, ColourRandom, lastColourMode, Setup, notStored, choice,         \
        "the same for new environments (3 takes envUserColour1..6); used by environmentStartMode 1 and 2")   \
    COLOURS(orgUserColour, orgColourAt, "the organism user colours")                                         \
    COLOURS(envUserColour, envColourAt, "the environment user colours")                                      \
    FLAG(promptOnReset, true, Setup, at(19, 3), checkBox("preset"),                                          \
         "the simulator asks before a reset (windows only: a run without windows ignores it)")               \
    FLAG(promptOnDeath, false, Setup, at(19, 2), checkBox("pdeath"),                                         \
         "the simulator asks before a dead world is replaced (windows only: a run without windows ignores "  \
         "it)")                                                                                              \
    FLAG(promptOnDefaults, true, Setup, at(20, 2), checkBox("pdefault"),                                     \
         "the simulator asks before the options go back to their defaults (windows only: a run without "     \
         "windows ignores it)")                                                                              \
    FLAG(promptOnSave, false, Setup, at(20, 1), checkBox("psave"),                                           \
         "the simulator asks before the options are saved (windows only: a run without windows ignores it)") \
    FLAG(promptOnAccept, true, Setup, at(20, 3), noControl,                                                  \
         "the simulator asks before accepting the options (windows only: a run without windows ignores it)") \
    INTEGER(slowdown, 0, -5, 5, Setup, at(15, 1), noControl,                                                 \
            "paces the simulator's display; without windows 1..5 only split each column into slowdown + 1 "  \
            "passes, which gives a seeded run another course")

// For expanding the rows: the arguments after `reader` for a row read by the rules, else nothing.
#define BX_IF_RULES(reader, ...) BX_IF_RULES_##reader(__VA_ARGS__)
#define BX_IF_RULES_Rules(...) __VA_ARGS__
#define BX_IF_RULES_Setup(...)

// Every user-settable parameter of a simulation (the rows above, with their defaults), plus the
// program's identity strings. One instance per program, owned by the application object and
// passed by reference.
struct SimulationOptions {
#define BX_OPTION_INTEGER(name, initial, ...) int name = initial;
#define BX_OPTION_FLAG(name, initial, ...) bool name = initial;
#define BX_OPTION_COLOURS(name, ...) std::array<UserColour, 6> name{};
    BX_OPTIONS(BX_OPTION_INTEGER, BX_OPTION_FLAG, BX_OPTION_COLOURS)
#undef BX_OPTION_INTEGER
#undef BX_OPTION_FLAG
#undef BX_OPTION_COLOURS

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

#pragma once
// The one table of options: each option of SimulationOptions by its field name, with its kind,
// its valid range, its place in a profile and its control in the options window; and the
// conversion of option values from and to text. The headless runner's --set and usage text, the
// profile reader and writer, the number boxes' validation and the options window's mapping all
// walk this table, so names, ranges and places cannot drift apart.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/options.h"

namespace bx {

// The largest grid the simulation keeps, whatever a profile holds.
inline constexpr int largestGridSize = 100;

enum class OptionKind {
    Integer, // whole number within [minimum, maximum]
    Flag,    // "true" or "false"
    Colour,  // "R,G,B", each component within [minimum, maximum]
};

// The control an option has in the options window.
enum class ControlKind {
    None,       // none there (set elsewhere, or only by --set and profiles)
    CheckBox,   // a check box that shows the flag as it stands
    NumberBox,  // a number box (with or without a slider) that shows the value as it stands
    GridSize,   // a number box and slider, bounded by the screen as well
    StartCount, // a number box and slider that shows "Full" or "0" for some start modes
    Choice,     // radio buttons, one for each mode
    Swatch,     // a swatch of the colour scheme Choose
};

// The screen's side a grid size box is bounded by.
enum class ScreenSide { Width, Height };

struct OptionControl {
    ControlKind kind = ControlKind::None;
    std::string_view objectName;         // the check box's or the number box's; empty for the others
    std::string_view sliderName;         // the number box's slider; empty when it has none
    ScreenSide side = ScreenSide::Width; // a grid size box's bound

    constexpr bool hasNumberBox() const {
        return kind == ControlKind::NumberBox || kind == ControlKind::GridSize ||
               kind == ControlKind::StartCount;
    }
};

// Where a profile stores an option: lines 9..23 of the file hold the options as items separated
// by commas. A colour is stored as three items, one for each component, on three lines.
struct ProfilePlace {
    std::array<int, 3> lines{}; // the value's line (a colour's: red, green, blue); 0: not stored
    int item = 0;               // its item on the line, from 1
    int32_t largest = 0;        // set when the file may hold more than the option takes: the file's
                                // largest value; a larger loaded value is cut to the maximum
    constexpr bool stored() const { return lines[0] != 0; }
};

// One option, as declared in BX_OPTIONS (engine/options.h). Its default is the one of
// SimulationOptions.
struct OptionField {
    std::string_view name; // the field's name in SimulationOptions, e.g. "gridSizeX", "orgUserColour3"
    OptionKind kind;
    int32_t minimum = 0; // Integer: the value; Colour: each component; unused for flags
    int32_t maximum = 0;
    // Where the value lives: exactly one of these is set, as the kind says.
    int SimulationOptions::*integer = nullptr;
    bool SimulationOptions::*flag = nullptr;
    std::array<UserColour, 6> SimulationOptions::*colours = nullptr;
    int colourIndex = 0; // 0..5 for user colour 1..6
    ProfilePlace place;
    OptionControl control;
    std::string_view description; // one line, for usage text and the man page

    // The largest value a profile may hold for this option.
    constexpr int32_t largestStored() const { return place.largest > maximum ? place.largest : maximum; }
};

// Every option, in the order of the options record.
std::span<const OptionField> optionFields();

// The option of that exact (case-sensitive) name, or nullptr.
const OptionField* findOptionField(std::string_view name);

// The row of a field of SimulationOptions (a user colour's: the first of its six).
// Throws std::invalid_argument for a member that is not an option.
const OptionField& optionOf(int SimulationOptions::*member);
const OptionField& optionOf(bool SimulationOptions::*member);

// Sets one option from its text form. Returns an error message, which names the option and its
// valid values, for an unknown name or a malformed or out-of-range value; the record is then
// left unchanged.
std::optional<std::string> setOptionFromText(SimulationOptions& options, std::string_view name,
                                             std::string_view text);
std::optional<std::string> setOptionFromText(SimulationOptions& options, const OptionField& field,
                                             std::string_view text);

// Options by name and their text, as --set takes them (the Python module's and the page's).
using OptionSettings = std::vector<std::pair<std::string, std::string>>;

// The message of the first setting setOptionFromText would refuse, or none.
std::optional<std::string> refusedSetting(const OptionSettings& settings);

// Sets every setting, in order; refused ones (see refusedSetting) leave their option as it was.
void applySettings(SimulationOptions& options, const OptionSettings& settings);

// Copies the option's value from one record to another.
void copyOption(SimulationOptions& to, const SimulationOptions& from, const OptionField& field);

// The option's value in the text form setOptionFromText accepts ("50", "true", "255,0,128").
std::string optionText(const SimulationOptions& options, const OptionField& field);

// What the option accepts, for messages and usage text: "a whole number 1..100",
// "true or false", "R,G,B with each component 0..255".
std::string optionRangeText(const OptionField& field);

} // namespace bx

#pragma once
// Every option of SimulationOptions by its field name, with its kind and valid range, and the
// conversion of option values from and to text. Front ends that take options as text (the
// headless runner's --set, option files) share this one table, so names and ranges agree.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/options.h"

namespace bx {

enum class OptionKind {
    Integer, // whole number within [minimum, maximum]
    Flag,    // "true" or "false"
    Colour,  // "R,G,B", each component within [minimum, maximum]
};

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
};

// Every option, in the order of the options record.
std::span<const OptionField> optionFields();

// The option of that exact (case-sensitive) name, or nullptr.
const OptionField* findOptionField(std::string_view name);

// Sets one option from its text form. Returns an error message, which names the option and its
// valid values, for an unknown name or a malformed or out-of-range value; the record is then
// left unchanged.
std::optional<std::string> setOptionFromText(SimulationOptions& options, std::string_view name,
                                             std::string_view text);
std::optional<std::string> setOptionFromText(SimulationOptions& options, const OptionField& field,
                                             std::string_view text);

// The option's value in the text form setOptionFromText accepts ("50", "true", "255,0,128").
std::string optionText(const SimulationOptions& options, const OptionField& field);

// What the option accepts, for messages and usage text: "a whole number 1..100",
// "true or false", "R,G,B with each component 0..255".
std::string optionRangeText(const OptionField& field);

} // namespace bx

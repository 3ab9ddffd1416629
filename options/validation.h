#pragma once
// The silent validation of the options window's number boxes, as pure functions: the window
// runs them on every change of a box's text and writes back whatever they return.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/options.h"
#include "optionfields.h"

namespace bx {

// What a person may type for the decimal point: always '.', and in a decimal-comma locale also
// ',' ("2,5" is 2.5 there, as the desktop's own number boxes take it). Only typed text is read
// this way; profiles and other files always have the point.
enum class DecimalMark { Point, PointOrComma };

// The value of text that reads as a number: optional blanks around, optional sign, digits with
// at most one decimal point (or, with PointOrComma, one comma instead), optional exponent (E or
// D). Empty text, a lone sign and a lone point are not numbers.
std::optional<double> numericValue(std::string_view text, DecimalMark mark = DecimalMark::Point);

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4); saturates at the 32-bit
// range; text that is not a number gives 0.
int32_t textToInteger(std::string_view text, DecimalMark mark = DecimalMark::Point);

// The stored value a box falls back to when its text is not a number.
int32_t storedValueOf(const OptionField& option, const SimulationOptions& stored);

// One application of the rules of the option's number box: the replacement text, or nothing
// when the text stands.
std::optional<std::string> correctedText(const OptionField& option, std::string_view text,
                                         const SimulationOptions& stored, int screenWidth, int screenHeight,
                                         DecimalMark mark = DecimalMark::Point);

// The rules applied until the text stands (a replacement runs them again), and the value the
// box's slider then takes.
struct ValidatedText {
    std::string text;
    int32_t sliderValue = 0;
};
ValidatedText validateText(const OptionField& option, std::string_view text, const SimulationOptions& stored,
                           int screenWidth, int screenHeight, DecimalMark mark = DecimalMark::Point);

// A grid slider moved by the user sets itself back to the largest grid size (100) from above.
int gridSliderValue(int value);

} // namespace bx

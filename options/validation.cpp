#include "validation.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "text/numbers.h"
#include "text/strings.h"

namespace bx {
namespace {

std::string wholeText(double v) {
    return formatInteger(static_cast<int64_t>(v));
}

} // namespace

std::optional<double> numericValue(std::string_view text, DecimalMark mark) {
    const std::string_view number = trimmed(text, " ");
    const std::size_t comma = number.find(',');
    if (mark == DecimalMark::PointOrComma && comma != std::string_view::npos &&
        number.find('.') == std::string_view::npos && number.find(',', comma + 1) == std::string_view::npos) {
        std::string pointed(number);
        pointed[comma] = '.';
        return parseDecimal(pointed, ExponentLetters::EorD);
    }
    return parseDecimal(number, ExponentLetters::EorD);
}

int32_t textToInteger(std::string_view text, DecimalMark mark) {
    const std::optional<double> v = numericValue(text, mark);
    if (!v)
        return 0;
    const double r = std::nearbyint(*v);
    if (r >= std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (r <= std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

int32_t storedValueOf(const OptionField& option, const SimulationOptions& o) {
    return o.*option.integer;
}

std::optional<std::string> correctedText(const OptionField& field, std::string_view text,
                                         const SimulationOptions& stored, int screenWidth, int screenHeight,
                                         DecimalMark mark) {
    const std::optional<double> value = numericValue(text, mark);
    if (!value)
        return formatInteger(storedValueOf(field, stored));
    const double upper = field.maximum;
    const bool grid = field.control.kind == ControlKind::GridSize;
    // The grid boxes test their upper bound before the rule for 0, the others after it.
    if (grid && *value > upper)
        return wholeText(upper);
    if (*value < 0)
        return std::string("0");
    if (!grid && *value > upper)
        return wholeText(upper);
    if (grid) {
        const int screen = field.control.side == ScreenSide::Width ? screenWidth : screenHeight;
        if (*value > screen)
            return formatInteger(screen);
    }
    return std::nullopt;
}

ValidatedText validateText(const OptionField& option, std::string_view text, const SimulationOptions& stored,
                           int screenWidth, int screenHeight, DecimalMark mark) {
    std::string current(text);
    // Each replacement is a number within the bounds, so this settles within a few rounds.
    for (int round = 0; round < 8; ++round) {
        std::optional<std::string> next =
            correctedText(option, current, stored, screenWidth, screenHeight, mark);
        if (!next)
            break;
        current = std::move(*next);
    }
    return {current, textToInteger(current, mark)};
}

int gridSliderValue(int value) {
    return std::min(value, largestGridSize);
}

} // namespace bx

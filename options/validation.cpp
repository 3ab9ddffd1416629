#include "validation.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace bx {
namespace {

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

double upperBoundOf(OptionTextBox box) {
    switch (box) {
    case OptionTextBox::StartOrganisms:
    case OptionTextBox::StartEnvironments:
        return 2000;
    case OptionTextBox::GrowthRate:
    case OptionTextBox::DecayRate:
    case OptionTextBox::EnvStartDecay:
        return 255;
    case OptionTextBox::GridSizeX:
    case OptionTextBox::GridSizeY:
        return 100;
    case OptionTextBox::AsteroidFrequency:
    case OptionTextBox::MutationFrequency:
        return 100000000;
    }
    return 0;
}

std::string wholeText(double v) {
    return std::to_string(static_cast<long long>(v));
}

} // namespace

std::optional<double> numericValue(std::string_view text) {
    std::size_t i = 0, n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    while (n > i && text[n - 1] == ' ')
        --n;
    std::string plain;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        plain += text[i++];
    int digits = 0;
    bool point = false;
    for (; i < n && (isDigit(text[i]) || (text[i] == '.' && !point)); ++i) {
        point = point || text[i] == '.';
        digits += isDigit(text[i]) ? 1 : 0;
        plain += text[i];
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        plain += 'e';
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        if (i == n || !isDigit(text[i]))
            return std::nullopt;
        for (; i < n && isDigit(text[i]); ++i)
            plain += text[i];
    }
    if (i != n)
        return std::nullopt;
    const double v = std::strtod(plain.c_str(), nullptr);
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

int32_t textToInteger(std::string_view text) {
    const std::optional<double> v = numericValue(text);
    if (!v)
        return 0;
    const double r = std::nearbyint(*v);
    if (r >= std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (r <= std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

int32_t storedValueOf(OptionTextBox box, const SimulationOptions& o) {
    switch (box) {
    case OptionTextBox::StartOrganisms:
        return o.startOrganisms;
    case OptionTextBox::StartEnvironments:
        return o.startEnvironments;
    case OptionTextBox::GrowthRate:
        return o.growthRate;
    case OptionTextBox::DecayRate:
        return o.decayRate;
    case OptionTextBox::EnvStartDecay:
        return o.environmentStartDecay;
    case OptionTextBox::GridSizeX:
        return o.gridSizeX;
    case OptionTextBox::GridSizeY:
        return o.gridSizeY;
    case OptionTextBox::AsteroidFrequency:
        return o.asteroidFrequency;
    case OptionTextBox::MutationFrequency:
        return o.mutationFrequency;
    }
    return 0;
}

std::optional<std::string> correctedText(OptionTextBox box, std::string_view text,
                                         const SimulationOptions& stored, int screenWidth, int screenHeight) {
    const std::optional<double> value = numericValue(text);
    if (!value)
        return std::to_string(storedValueOf(box, stored));
    const double upper = upperBoundOf(box);
    const bool grid = box == OptionTextBox::GridSizeX || box == OptionTextBox::GridSizeY;
    // The grid boxes test their upper bound before the rule for 0, the others after it.
    if (grid && *value > upper)
        return wholeText(upper);
    if (*value < 0)
        return std::string("0");
    if (!grid && *value > upper)
        return wholeText(upper);
    if (grid) {
        const int screen = box == OptionTextBox::GridSizeX ? screenWidth : screenHeight;
        if (*value > screen)
            return std::to_string(screen);
    }
    return std::nullopt;
}

ValidatedText validateText(OptionTextBox box, std::string_view text, const SimulationOptions& stored,
                           int screenWidth, int screenHeight) {
    std::string current(text);
    // Each replacement is a number within the bounds, so this settles within a few rounds.
    for (int round = 0; round < 8; ++round) {
        std::optional<std::string> next = correctedText(box, current, stored, screenWidth, screenHeight);
        if (!next)
            break;
        current = std::move(*next);
    }
    return {current, textToInteger(current)};
}

int gridSliderValue(int value) {
    return value >= 101 ? 100 : value;
}

} // namespace bx

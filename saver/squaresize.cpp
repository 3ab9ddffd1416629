#include "squaresize.h"

#include <cmath>
#include <charconv>
#include <sstream>

namespace bx {

double squareSizeFromText(const std::optional<std::string>& text) {
    if (!text)
        return defaultSquareSize;
    // Blanks around the number are allowed; anything else in the text makes it not a number.
    const std::size_t first = text->find_first_not_of(" \t");
    if (first == std::string::npos)
        return defaultSquareSize;
    const std::size_t last = text->find_last_not_of(" \t");
    const std::string number = text->substr(first, last - first + 1);
    if (number.find_first_not_of("+-.0123456789eE") != std::string::npos)
        return defaultSquareSize; // also keeps out "inf", "nan" and hex
    // from_chars: the same reading whatever the locale Qt switched the program to.
    const char* begin = number.c_str() + (number[0] == '+' ? 1 : 0);
    double value = 0;
    const auto [end, error] = std::from_chars(begin, number.c_str() + number.size(), value);
    if (error != std::errc() || end != number.c_str() + number.size() || !std::isfinite(value))
        return defaultSquareSize;
    if (value < minimumSquareSize || value > maximumSquareSize)
        return defaultSquareSize;
    return value;
}

double readSquareSize(const SettingsStore& store) {
    return squareSizeFromText(store.get(settingsApplication, settingsSection, squareSizeKey));
}

void storeSquareSize(SettingsStore& store, double size) {
    std::ostringstream text;
    text << size; // 10 → "10", 2.5 → "2.5"
    store.set(settingsApplication, settingsSection, squareSizeKey, text.str());
}

} // namespace bx

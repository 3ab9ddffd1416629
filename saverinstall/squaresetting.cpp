#include "squaresetting.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace bx {

std::optional<double> usableSquareSize(const std::optional<std::string>& text) {
    if (!text)
        return std::nullopt;
    const std::size_t first = text->find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    const std::size_t last = text->find_last_not_of(" \t");
    std::string_view number(text->data() + first, last - first + 1);
    if (number.find_first_not_of("+-.0123456789eE") != std::string_view::npos)
        return std::nullopt; // keeps out "inf", "nan" and hexadecimal
    if (number.front() == '+')
        number.remove_prefix(1);
    double value = 0;
    // from_chars: the same reading whatever locale the toolkit chose.
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return std::nullopt;
    if (value < 2 || value > 25)
        return std::nullopt;
    return value;
}

double squareSizeOfText(const std::optional<std::string>& text) {
    return usableSquareSize(text).value_or(squareSizeDefault);
}

std::string squareSizeText(double size) {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << size;
    return text.str();
}

double readSquareSize(const SettingsStore& store) {
    return squareSizeOfText(store.get(squareSizeApplication, squareSizeSection, squareSizeEntry));
}

void storeSquareSize(SettingsStore& store, double size) {
    store.set(squareSizeApplication, squareSizeSection, squareSizeEntry, squareSizeText(size));
}

} // namespace bx

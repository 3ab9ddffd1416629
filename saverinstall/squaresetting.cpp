#include "squaresetting.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace bx {

double squareSizeOfText(const std::optional<std::string>& text) {
    if (!text)
        return squareSizeDefault;
    const std::size_t first = text->find_first_not_of(" \t");
    if (first == std::string::npos)
        return squareSizeDefault;
    const std::size_t last = text->find_last_not_of(" \t");
    std::string_view number(text->data() + first, last - first + 1);
    if (number.find_first_not_of("+-.0123456789eE") != std::string_view::npos)
        return squareSizeDefault; // keeps out "inf", "nan" and hexadecimal
    if (number.front() == '+')
        number.remove_prefix(1);
    double value = 0;
    // from_chars: the same reading whatever locale the toolkit chose.
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return squareSizeDefault;
    return (value < 2 || value > 25) ? squareSizeDefault : value;
}

std::string squareSizeText(double size) {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << size;
    return text.str();
}

} // namespace bx

namespace bx {

double readSquareSize(const SettingsStore& store) {
    return squareSizeOfText(store.get(squareSizeApplication, squareSizeSection, squareSizeEntry));
}

void storeSquareSize(SettingsStore& store, double size) {
    store.set(squareSizeApplication, squareSizeSection, squareSizeEntry, squareSizeText(size));
}

} // namespace bx

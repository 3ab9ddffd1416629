#include "squaresetting.h"

#include "text/numbers.h"
#include "text/strings.h"

namespace bx {

std::optional<double> usableSquareSize(const std::optional<std::string>& text) {
    if (!text)
        return std::nullopt;
    const std::optional<double> value = parseDecimal(trimmed(*text));
    if (!value || *value < 2 || *value > 25)
        return std::nullopt;
    return value;
}

double squareSizeOfText(const std::optional<std::string>& text) {
    return usableSquareSize(text).value_or(squareSizeDefault);
}

std::string squareSizeText(double size) {
    return formatGeneral(size);
}

double readSquareSize(const SettingsStore& store) {
    return squareSizeOfText(store.get(squareSizeApplication, squareSizeSection, squareSizeEntry));
}

void storeSquareSize(SettingsStore& store, double size) {
    store.set(squareSizeApplication, squareSizeSection, squareSizeEntry, squareSizeText(size));
}

} // namespace bx

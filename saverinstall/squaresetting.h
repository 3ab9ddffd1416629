#pragma once
// The one setting the simulator shares with the screensaver: the saver's square size, kept as
// decimal text in the per-user settings store. Both programs read and write it only through here.
#include <optional>
#include <string>

#include "settingsstore.h"

namespace bx {

inline constexpr const char* squareSizeApplication = "Bramblex 2";
inline constexpr const char* squareSizeSection = "General";
inline constexpr const char* squareSizeEntry = "Square Size";
inline constexpr double squareSizeDefault = 6;

// A text as a square size: a decimal number (fraction and blanks around it allowed) from 2 to 25;
// nothing for anything else, or no value.
std::optional<double> usableSquareSize(const std::optional<std::string>& text);
// The same for a stored text, where anything unusable is 6.
double squareSizeOfText(const std::optional<std::string>& text);
// The size as the store keeps it: 12 → "12", 12.5 → "12.5", whatever the program's locale.
std::string squareSizeText(double size);

// The stored size (6 when missing or unusable), and storing one.
double readSquareSize(const SettingsStore& store);
void storeSquareSize(SettingsStore& store, double size);

} // namespace bx

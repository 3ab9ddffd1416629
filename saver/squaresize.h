#pragma once
// The one stored setting of the screensaver, shared with the simulator.
#include <optional>
#include <string>

#include "platform/settingsstore.h"

namespace bx {

inline constexpr const char* settingsApplication = "Bramblex 2";
inline constexpr const char* settingsSection = "General";
inline constexpr const char* squareSizeKey = "Square Size";
inline constexpr double defaultSquareSize = 6;
inline constexpr double minimumSquareSize = 2;
inline constexpr double maximumSquareSize = 25;

// A stored text as a square size: a decimal number (fraction allowed) within 2 … 25, else 6.
double squareSizeFromText(const std::optional<std::string>& text);
// The stored square size (6 when missing or unusable).
double readSquareSize(const SettingsStore& store);
// Stores a size as decimal text.
void storeSquareSize(SettingsStore& store, double size);

} // namespace bx

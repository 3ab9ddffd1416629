#pragma once
// Where the user left the program's windows, kept in the per-user settings store from one run to
// the next: application "Bramblex 2", section "Windows", one key a window, the value
// "x y width height", the place of the window's inside (without the window manager's frame) in
// screen pixels.
#include <QList>
#include <QRect>
#include <optional>
#include <string>

#include "saverinstall/settingsstore.h"

class QWidget;

namespace bx {

inline constexpr const char* windowPlacesApplication = "Bramblex 2";
inline constexpr const char* windowPlacesSection = "Windows";

// The place as kept: four whole numbers, a size of at least 1 × 1; nothing for anything else.
std::optional<QRect> placeOfText(const std::string& text);
std::string placeText(const QRect& place);

// Whether a window at that place can be reached: its top edge, just under the title bar, lies on
// one of the screens' available areas, at least 100 pixels of it (or all, when narrower).
bool reachablePlace(const QRect& place, const QList<QRect>& screens);

// The windows' places in a store.
class WindowPlaces {
public:
    explicit WindowPlaces(SettingsStore& store) : store_(store) {}
    // Keeps where the window is now.
    void keep(const std::string& key, const QWidget& window);
    // Moves the window to its kept place (and gives it the kept size too when `withSize`, not
    // below what its layout needs) when one is kept and reachable on the screens there are now;
    // false when not.
    bool restore(const std::string& key, QWidget& window, bool withSize) const;

private:
    SettingsStore& store_;
};

} // namespace bx

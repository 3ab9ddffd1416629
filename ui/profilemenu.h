#pragma once
// The quick entries both Profiles menus have: profile2 … profile8 (Ctrl+F2 … Ctrl+F8), showing the
// first seven profiles of the Profiles folder, and More Profiles when the folder holds more.
#include <QStringList>
#include <array>

class QAction;
class QMenu;

namespace bx {

inline constexpr int quickProfileCount = 7;
using QuickProfileItems = std::array<QAction*, quickProfileCount>;

// Adds the seven entries to the menu, hidden until profiles are shown on them.
QuickProfileItems addQuickProfileItems(QMenu* menu);

// Shows the first seven captions on the entries and hides the others; the More Profiles entry and
// its separator show when there are more captions than entries.
void showQuickProfiles(const QuickProfileItems& items, QAction* moreSeparator, QAction* moreItem,
                       const QStringList& captions);

} // namespace bx

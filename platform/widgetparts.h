#pragma once
// Small pieces the programs' forms share.
#include <QKeySequence>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <initializer_list>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QWidget;

namespace bx {

// A menu on the bar, named for tests and tools.
QMenu* namedMenu(QMenuBar* bar, const char* name, const QString& caption);
// A menu entry with its name and shortcut; the shortcut works while its window is active.
QAction* namedEntry(QMenu* menu, const char* name, const QString& caption, const QKeySequence& keys = {});
QAction* namedSeparator(QMenu* menu, const char* name);

// Makes a button wide enough for every caption it will show, so that a window does not change
// its width when the caption does.
void reserveCaptions(QPushButton* button, std::initializer_list<const char*> captions);

// Where a window whose frame has the given size opens beside the frame `beside` (screen pixels):
// to its right, else to its left, else narrowed to the roomier side (down to half its width),
// else at that side's screen edge; always wholly inside `available`, shrunk to it when larger.
QRect placeBeside(const QRect& beside, QSize frame, const QRect& available);

// Where a window whose frame has the given size opens clear of `taken` (the frames of the
// program's windows, screen pixels): to the right of them, else to the left, below or above,
// on the first side where it fits whole, else on the side where the most of it fits, narrowed or
// lowered to it but not below `least`. Nothing when no side has room for `least`.
std::optional<QRect> placeClear(const QRect& taken, QSize frame, QSize least, const QRect& available);

// Sizes and moves a window that is about to open so that it lies beside `helped` on helped's
// screen, clear of every other window of the program that is shown (placeClear); when they leave
// no room, clear of those but the ones placed this way before, else beside helped alone
// (placeBeside). Its frame is taken to be as thick as helped's. Nothing without helped.
void openBeside(QWidget* window, const QWidget* helped);

// Shows a window in front of the others and gives it the focus, also when it was minimised.
void bringForward(QWidget* window);

// Gives the window's own shortcuts (its actions' and shortcut objects') priority over the editing
// keys of its text boxes: Ctrl+A, Ctrl+C and the like do what the window's menus say even while a
// box has the focus. Call once the window's boxes and menus exist.
void preferWindowShortcuts(QWidget* window);

// Makes a plain label act as a link: a left click on it, or Enter or Space while it has the
// focus, runs `open`. The filter lives as long as the label.
void makeLinkLabel(QLabel* label, std::function<void()> open);

} // namespace bx

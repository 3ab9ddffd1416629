#include "widgetparts.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextEdit>
#include <algorithm>

namespace bx {
namespace {

class LinkFilter : public QObject {
public:
    LinkFilter(QLabel* label, std::function<void()> open)
        : QObject(label), label_(label), open_(std::move(open)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != label_)
            return false;
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && label_->rect().contains(mouse->position().toPoint())) {
                open_();
                return true;
            }
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                open_();
                return true;
            }
        }
        return false;
    }

private:
    QLabel* label_;
    std::function<void()> open_;
};

// Declines a text box's claim on a key that one of the window's shortcuts uses, so that the
// shortcut runs instead of the box's own editing command.
class ShortcutPriority : public QObject {
public:
    explicit ShortcutPriority(QWidget* window) : QObject(window), window_(window) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        if (!windowUses(pressed))
            return false;
        event->ignore();
        return true;
    }

private:
    bool windowUses(const QKeySequence& keys) const {
        const auto actions = window_->findChildren<QAction*>();
        if (std::any_of(actions.begin(), actions.end(), [&keys](const QAction* a) {
                return a->isEnabled() && a->isVisible() && a->shortcuts().contains(keys);
            }))
            return true;
        const auto shortcuts = window_->findChildren<QShortcut*>();
        return std::any_of(shortcuts.begin(), shortcuts.end(), [&keys](const QShortcut* s) {
            return s->isEnabled() && s->keys().contains(keys);
        });
    }

    QWidget* window_;
};

} // namespace

void reserveCaptions(QPushButton* button, std::initializer_list<const char*> captions) {
    const QString shown = button->text();
    int widest = 0;
    for (const char* caption : captions) {
        button->setText(caption);
        widest = std::max(widest, button->sizeHint().width());
    }
    button->setText(shown);
    button->setMinimumWidth(widest);
}

QRect placeBeside(const QRect& beside, QSize frame, const QRect& available) {
    constexpr int gap = 8;
    frame = frame.boundedTo(available.size());
    const int roomRight = available.right() - beside.right() - gap;
    const int roomLeft = beside.left() - available.left() - gap;
    // Neither side has room: the roomier one, narrowed to it while it keeps half the width.
    const int room = std::max(roomRight, roomLeft);
    if (frame.width() > room && room >= frame.width() / 2)
        frame.setWidth(room);
    int x = 0;
    if (roomRight >= frame.width())
        x = beside.right() + 1 + gap;
    else if (roomLeft >= frame.width())
        x = beside.left() - gap - frame.width();
    else
        x = roomRight >= roomLeft ? available.right() + 1 - frame.width() : available.left();
    const int y = std::clamp(beside.top(), available.top(), available.bottom() + 1 - frame.height());
    return {QPoint(x, y), frame};
}

std::optional<QRect> placeClear(const QRect& taken, QSize frame, QSize least, const QRect& available) {
    constexpr int gap = 8;
    frame = frame.boundedTo(available.size());
    least = least.boundedTo(frame);
    const int right = taken.right() + 1 + gap, below = taken.bottom() + 1 + gap;
    const int left = taken.left() - gap, above = taken.top() - gap; // the first pixel outside
    // The room on each side, in the order the sides are tried.
    const QRect rooms[] = {
        QRect(QPoint(right, available.top()), available.bottomRight()),
        QRect(available.topLeft(), QPoint(left - 1, available.bottom())),
        QRect(QPoint(available.left(), below), available.bottomRight()),
        QRect(available.topLeft(), QPoint(available.right(), above - 1)),
    };
    std::optional<QRect> best;
    for (int side = 0; side < 4; ++side) {
        const QRect& room = rooms[side];
        const QSize size = frame.boundedTo(room.size());
        if (room.isEmpty() || size.width() < least.width() || size.height() < least.height())
            continue;
        if (best && size.width() * size.height() <= best->width() * best->height())
            continue;
        // Level with the program's windows, as far as the room allows.
        const int x = side == 0   ? room.left()
                      : side == 1 ? room.right() + 1 - size.width()
                                  : std::clamp(taken.left(), room.left(), room.right() + 1 - size.width());
        const int y = side == 2   ? room.top()
                      : side == 3 ? room.bottom() + 1 - size.height()
                                  : std::clamp(taken.top(), room.top(), room.bottom() + 1 - size.height());
        best = QRect(QPoint(x, y), size);
    }
    return best;
}

// Marks the windows openBeside placed: they give way to a newer one when the screen is full.
constexpr const char* placedBeside = "bxPlacedBeside";

void openBeside(QWidget* window, const QWidget* helped) {
    if (!helped || !helped->screen())
        return;
    const QRect client = helped->geometry(), frame = helped->frameGeometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    const QRect available = helped->screen()->availableGeometry();
    const auto taken = [&](bool placedToo) {
        QRect all = frame;
        for (const QWidget* other : QApplication::topLevelWidgets())
            if (other != window && other->isVisible() && other->screen() == helped->screen() &&
                !(other->windowType() == Qt::Popup || other->windowType() == Qt::ToolTip) &&
                (placedToo || !other->property(placedBeside).toBool()))
                all |= other->frameGeometry();
        return all & available;
    };
    const QSize wanted = window->size().grownBy(margins);
    // Down to half its size, and never below what its layout needs.
    const QSize least = (wanted / 2).expandedTo(window->minimumSizeHint().grownBy(margins));
    std::optional<QRect> placed = placeClear(taken(true), wanted, least, available);
    if (!placed)
        placed = placeClear(taken(false), wanted, least, available);
    const QRect place = placed.value_or(placeBeside(frame, wanted, available));
    window->resize(place.size().shrunkBy(margins));
    window->move(place.topLeft()); // a window's position is its frame's
    window->setProperty(placedBeside, true);
}

void bringForward(QWidget* window) {
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}

void preferWindowShortcuts(QWidget* window) {
    auto* filter = new ShortcutPriority(window);
    for (QWidget* w : window->findChildren<QWidget*>())
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
            qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w))
            w->installEventFilter(filter);
}

QMenu* namedMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(name);
    return m;
}

QAction* namedEntry(QMenu* menu, const char* name, const QString& caption, const QKeySequence& keys) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    a->setShortcut(keys);
    a->setShortcutContext(Qt::WindowShortcut);
    return a;
}

QAction* namedSeparator(QMenu* menu, const char* name) {
    QAction* a = menu->addSeparator();
    a->setObjectName(name);
    return a;
}

void makeLinkLabel(QLabel* label, std::function<void()> open) {
    label->installEventFilter(new LinkFilter(label, std::move(open)));
}

} // namespace bx

#include "platform/qtcursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace bx {

OverrideCursorCounter::~OverrideCursorCounter() {
    restore();
}

// Exactly one override cursor is pushed while hidden, however low the counter goes, so one
// restoreOverrideCursor always undoes it and other users of the override stack are not disturbed.
void OverrideCursorCounter::apply() {
    const bool hide = count_ < 0;
    if (hide == blanked_)
        return;
    if (hide)
        QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    else
        QGuiApplication::restoreOverrideCursor();
    blanked_ = hide;
}

int OverrideCursorCounter::show(bool visible) {
    count_ += visible ? 1 : -1;
    apply();
    return count_;
}

void OverrideCursorCounter::restore() {
    count_ = 0;
    apply();
}

} // namespace bx

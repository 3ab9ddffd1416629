#pragma once
// Keeps an X window above every other. A window manager keeps "stays on top" only for windows it
// manages; one it leaves alone, as a screen locker's, keeps itself there: over a connection of its
// own it hears whenever another window covers part of it, and raises itself again. Some servers
// never tell (Xinerama over several screens): there it is raised once a second as well.
#include <QObject>
#include <QTimer>
#include <cstdint>

#include "xcbconnection.h"

class QSocketNotifier;

namespace bx {

class KeepOnTop : public QObject {
    Q_OBJECT
public:
    // Does nothing without a display.
    explicit KeepOnTop(uint32_t window, QObject* parent = nullptr);

private:
    void readEvents();
    void raise();
    XcbConnection xcb_;
    uint32_t window_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer everySecond_;
};

} // namespace bx

#pragma once
// fListen: the hidden window of the embedded modes. Its picture preview is put inside a
// window of another program (the preview host, or a host screensaver's window) and drawn into
// on every tick of tickTimer. The host is looked at 20 times a second (each look is a round trip
// to the X server): preview follows its size, and the saver ends once it is gone.
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "hostwindow.h"
#include "savercanvas.h"
#include "saverstate.h"

class QWindow;

namespace bx {

class ListenWindow : public QWidget {
    Q_OBJECT
public:
    ListenWindow(SaverModule& module, HostWindows& hosts);
    ~ListenWindow() override;

    // Puts preview over the client area of window `host` (left 0, top 0, the host's size).
    // Does nothing when host names no window; previewAttached tells whether it was done.
    void attachTo(int64_t host);

    SaverCanvas* preview;
    QTimer* tickTimer;

signals:
    void tick();     // the host is still there: step the world on preview
    void hostGone(); // the host window was closed or never existed: end the saver

private:
    void tmrMainTimer();
    bool hostStillThere();
    SaverModule& module_;
    HostWindows& hosts_;
    std::unique_ptr<QWindow> host_; // the foreign window; outlives preview's own window
    QElapsedTimer lastLook_;
};

} // namespace bx

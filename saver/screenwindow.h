#pragma once
// fScreen: the full-screen saver. Covers the screen and stays on top; tickTimer (1 ms) drives the
// engine; a character key, a click, a wheel turn (a button press on X) or the sixth mouse move
// within one mouseTimer period (5 s) asks to quit, unless a password check is running. Closing
// the window (the window manager's close, Alt+F4) asks the same.
// On X the window is left alone by the window manager (as a screen locker's is), so that it spans
// every monitor instead of being made full screen on one, and it takes the keyboard and the
// pointer for itself: input anywhere reaches it. A window that comes up over it is covered again.
#include <QTimer>
#include <memory>

#include "savercanvas.h"
#include "saverstate.h"

namespace bx {

class KeepOnTop;

class ScreenWindow : public SaverCanvas {
    Q_OBJECT
public:
    ScreenWindow(SaverModule& module, const QRect& screenArea);
    ~ScreenWindow() override;

    // Shows the window over every screen and every other window, and takes the keyboard and the
    // pointer as soon as the server lets it (another program may hold them for a while).
    void cover();

    QTimer* tickTimer;
    QTimer* mouseTimer;
    int mouseMoves = 0;

signals:
    void quitRequested(); // requestQuit: the user asked the saver to end
    void tick();          // tickTimer: step the world on this surface
    void activated();     // Form_Activate: the pointer is to be hidden

protected:
    void keyPressEvent(QKeyEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void closeEvent(QCloseEvent*) override;
    bool event(QEvent*) override;

private:
    void requestQuit();
    void tryToGrabInput();
    SaverModule& module_;
    QTimer* grabTimer_;
    int grabTries_ = 0;
    std::unique_ptr<KeepOnTop> keepOnTop_;
};

} // namespace bx

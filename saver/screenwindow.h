#pragma once
// fScreen: the full-screen saver. Covers the screen and stays on top; tickTimer (1 ms) drives the
// engine; a character key, a click, a wheel turn (a button press on X) or the sixth mouse move
// within one mouseTimer period (5 s) asks to quit, unless a password check is running. Closing
// the window (the window manager's close, Alt+F4) asks the same.
#include <QTimer>

#include "savercanvas.h"
#include "saverstate.h"

namespace bx {

class ScreenWindow : public SaverCanvas {
    Q_OBJECT
public:
    ScreenWindow(SaverModule& module, const QRect& screenArea);

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
    SaverModule& module_;
};

} // namespace bx

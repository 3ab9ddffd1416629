#include "screenwindow.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace bx {

ScreenWindow::ScreenWindow(SaverModule& module, const QRect& screenArea)
    : SaverCanvas(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      tickTimer(new QTimer(this)), mouseTimer(new QTimer(this)), module_(module) {
    setObjectName("fScreen");
    setWindowTitle("Bramblex 2 Screen Saver");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setGeometry(screenArea);

    tickTimer->setObjectName("Timer1");
    tickTimer->setInterval(saverTickInterval);
    connect(tickTimer, &QTimer::timeout, this, &ScreenWindow::tick);
    mouseTimer->setObjectName("tmrMouse");
    mouseTimer->setInterval(5000);
    // Slow drifting of the mouse never adds up to six moves.
    connect(mouseTimer, &QTimer::timeout, this, [this] { mouseMoves = 0; });
    tickTimer->start();
    mouseTimer->start();
}

void ScreenWindow::requestQuit() {
    if (module_.passwordCheckActive)
        return;
    emit quitRequested();
}

// Only keys that give a character end the saver: Shift, Ctrl or an arrow key alone do not.
void ScreenWindow::keyPressEvent(QKeyEvent* e) {
    const QString text = e->text();
    if (!text.isEmpty() &&
        (text.at(0).isPrint() || text.at(0) == QLatin1Char('\r') || text.at(0) == QLatin1Char('\x1b') ||
         text.at(0) == QLatin1Char('\t') || text.at(0) == QLatin1Char('\b')))
        requestQuit();
}

void ScreenWindow::mousePressEvent(QMouseEvent*) {
    requestQuit();
}

void ScreenWindow::wheelEvent(QWheelEvent*) {
    requestQuit();
}

void ScreenWindow::closeEvent(QCloseEvent* e) {
    e->ignore(); // the saver decides: it ends, and hides the window as it does
    requestQuit();
}

void ScreenWindow::mouseMoveEvent(QMouseEvent*) {
    mouseMoves += 1;
    if (mouseMoves > 5) {
        mouseMoves = 0;
        requestQuit();
    }
}

bool ScreenWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate)
        emit activated();
    return SaverCanvas::event(e);
}

} // namespace bx

#include "screenwindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>

#include "keepontop.h"

namespace bx {

ScreenWindow::ScreenWindow(SaverModule& module, const QRect& screenArea)
    : SaverCanvas(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::X11BypassWindowManagerHint),
      tickTimer(new QTimer(this)), mouseTimer(new QTimer(this)), module_(module),
      grabTimer_(new QTimer(this)) {
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
    grabTimer_->setInterval(50);
    connect(grabTimer_, &QTimer::timeout, this, &ScreenWindow::tryToGrabInput);
}

ScreenWindow::~ScreenWindow() = default;

void ScreenWindow::cover() {
    show();
    raise();
    activateWindow();
    if (QGuiApplication::platformName() == QLatin1String("xcb") && !keepOnTop_)
        keepOnTop_ = std::make_unique<KeepOnTop>(static_cast<uint32_t>(winId()));
    grabTries_ = 0;
    grabTimer_->start();
}

// Until the window is on the screen, or while another program holds the keyboard or the pointer,
// a grab fails: it is tried again for five seconds. Without it the window still ends on the
// pointer's moves and clicks, which reach it everywhere it covers.
void ScreenWindow::tryToGrabInput() {
    QWindow* window = windowHandle();
    const bool keyboard = window && window->setKeyboardGrabEnabled(true);
    const bool pointer = window && window->setMouseGrabEnabled(true);
    if ((keyboard && pointer) || ++grabTries_ >= 100)
        grabTimer_->stop();
}

void ScreenWindow::requestQuit() {
    if (module_.passwordCheckActive)
        return;
    emit quitRequested();
}

namespace {

// Only keys that give a character end the saver: Shift, Ctrl or an arrow key alone do not. The
// window manager's close key, which it no longer sees while the saver holds the keyboard, does.
bool endsTheSaver(const QKeyEvent& e) {
    if (e.key() == Qt::Key_F4 && e.modifiers().testFlag(Qt::AltModifier))
        return true;
    const QString text = e.text();
    if (text.isEmpty())
        return false;
    const QChar c = text.at(0);
    return c.isPrint() || c == QLatin1Char('\r') || c == QLatin1Char('\x1b') || c == QLatin1Char('\t') ||
           c == QLatin1Char('\b');
}

} // namespace

void ScreenWindow::keyPressEvent(QKeyEvent* e) {
    if (endsTheSaver(*e))
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

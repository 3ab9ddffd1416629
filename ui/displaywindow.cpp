#include "displaywindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "engine/painting.h"

namespace bx {

DisplayWindow::DisplayWindow() : QWidget(nullptr, Qt::Window) {
    setObjectName("displaywindow");
    setWindowTitle("Simulation");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    pixels_.resize(4, 4);
}

QImage DisplayWindow::view() {
    paintQueued();
    return pixels_.view();
}

void DisplayWindow::clear() {
    pixels_.clear();
    update(); // shown at once, also when no tick follows
}

void DisplayWindow::fillBox(double x1, double y1, double x2, double y2, PackedColour colour) {
    pixels_.fillBox(x1, y1, x2, y2, colour);
}

void DisplayWindow::paintSquare(int column, int row, int size, const Rgb& organism, const Rgb& environment,
                                bool showOrganisms, bool showEnvironment) {
    pixels_.fillSquare(column, row, size, packColour(organism), packColour(environment), showOrganisms,
                       showEnvironment);
}

void DisplayWindow::paintColumn(int column, int firstRow, const SquareColours* squares, int count, int size,
                                bool showOrganisms, bool showEnvironment) {
    pixels_.fillColumn(column, firstRow, squares, count, size, showOrganisms, showEnvironment);
}

void DisplayWindow::paintQueued() {
    if (paintWaiting_)
        paintWaiting_();
}

void DisplayWindow::flush() {
    if (isMinimized())
        return; // kept for later: the window is drawn whole when it comes back
    paintQueued();
    const QRect dirty = pixels_.takeDirty();
    if (!dirty.isEmpty())
        update(dirty);
}

PackedColour DisplayWindow::pixelColour(int x, int y) {
    paintQueued();
    return pixels_.pixelColour(x, y);
}

void DisplayWindow::enterFullScreen(const QRect& screenArea) {
    if (!normalGeometry_.isValid())
        normalGeometry_ = geometry();
    fullScreen_ = true;
    setGeometry(screenArea);
    showFullScreen();
}

void DisplayWindow::leaveFullScreen() {
    showNormal();
    if (normalGeometry_.isValid())
        setGeometry(normalGeometry_);
    fullScreen_ = false;
}

// Taken from the window's own move and resize events, never read at the moment of going full
// screen: a window shown in that same moment (the simulation was hidden) is not yet framed by
// the window manager, and its geometry then leaves out the title bar. A window that is not
// shown takes no part, for the same reason.
void DisplayWindow::rememberNormalGeometry() {
    if (isVisible() && !fullScreen_)
        normalGeometry_ = geometry();
}

void DisplayWindow::moveEvent(QMoveEvent*) {
    rememberNormalGeometry();
}

void DisplayWindow::unload() {
    unloading_ = true;
    close();
}

void DisplayWindow::paintEvent(QPaintEvent* e) {
    paintQueued();
    QPainter p(this);
    // Outside the pixels (a window larger than the world) the canvas is black.
    paintPixels(p, pixels_, e->rect());
}

void DisplayWindow::resizeEvent(QResizeEvent*) {
    paintQueued(); // painted at the size they were queued for
    pixels_.resize(width(), height());
    rememberNormalGeometry();
}

void DisplayWindow::keyPressEvent(QKeyEvent* e) {
    if (!events_)
        return;
    const QString text = e->text();
    if (text.isEmpty() || !text.at(0).isPrint()) {
        // Keys without a character (arrows, function keys) count as "any other key"; plain F1
        // has its own row.
        const int key = e->key();
        if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta)
            return;
        const bool plainF1 = key == Qt::Key_F1 && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        events_->keyPressed(plainF1 ? "F1" : "");
        return;
    }
    events_->keyPressed(QString(text.at(0)).toStdString());
}

void DisplayWindow::mousePressEvent(QMouseEvent*) {
    if (events_)
        events_->mousePressed();
}

void DisplayWindow::mouseMoveEvent(QMouseEvent* e) {
    const QPointF p = e->position();
    if (events_)
        events_->mouseMoved(p.x(), p.y());
}

void DisplayWindow::closeEvent(QCloseEvent* e) {
    e->accept();
    if (!unloading_ && events_)
        events_->closeRequested();
}

} // namespace bx

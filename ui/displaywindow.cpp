#include "displaywindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace bx {

DisplayWindow::DisplayWindow() : QWidget(nullptr, Qt::Window), image_(4, 4, QImage::Format_RGB32) {
    setObjectName("displaywindow");
    setWindowTitle("Simulation");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    image_.fill(Qt::black);
}

void DisplayWindow::clear() {
    image_.fill(Qt::black);
    dirty_ = image_.rect();
    flush(); // shown at once, also when no tick follows
}

void DisplayWindow::fillBox(double x1, double y1, double x2, double y2, PackedColour colour) {
    const PixelSpan xs = pixelSpan(x1, x2);
    const PixelSpan ys = pixelSpan(y1, y2);
    const int left = std::max(xs.first, 0), right = std::min(xs.last, image_.width() - 1);
    const int top = std::max(ys.first, 0), bottom = std::min(ys.last, image_.height() - 1);
    if (left > right || top > bottom)
        return;
    const QRgb rgb = qRgb(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
    for (int y = top; y <= bottom; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        std::fill(line + left, line + right + 1, rgb);
    }
    dirty_ |= QRect(QPoint(left, top), QPoint(right, bottom));
}

void DisplayWindow::flush() {
    if (dirty_.isEmpty())
        return;
    update(dirty_);
    dirty_ = QRect();
}

PackedColour DisplayWindow::pixelColour(int x, int y) const {
    if (!image_.rect().contains(x, y))
        return 0;
    const QRgb p = image_.pixel(x, y);
    return packColour(qRed(p), qGreen(p), qBlue(p));
}

void DisplayWindow::enterFullScreen(const QRect& screenArea) {
    normalGeometry_ = geometry();
    setGeometry(screenArea);
    showFullScreen();
}

void DisplayWindow::leaveFullScreen() {
    showNormal();
    if (normalGeometry_.isValid())
        setGeometry(normalGeometry_);
}

void DisplayWindow::unload() {
    unloading_ = true;
    close();
}

void DisplayWindow::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QRect r = e->rect();
    p.drawImage(r.intersected(image_.rect()), image_, r.intersected(image_.rect()));
    // Outside the image (a window larger than the world) the canvas is black.
    const QRegion outside = QRegion(r).subtracted(QRegion(image_.rect()));
    for (const QRect& o : outside)
        p.fillRect(o, Qt::black);
}

void DisplayWindow::resizeEvent(QResizeEvent*) {
    if (size() == image_.size())
        return;
    // The world keeps what was painted where it still fits; new parts start black.
    QImage bigger(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    bigger.fill(Qt::black);
    QPainter p(&bigger);
    p.drawImage(0, 0, image_);
    p.end();
    image_ = bigger;
}

void DisplayWindow::keyPressEvent(QKeyEvent* e) {
    if (!events_)
        return;
    const QString text = e->text();
    if (text.isEmpty() || !text.at(0).isPrint()) {
        // Keys without a character (arrows, function keys) count as "any other key".
        if (e->key() != Qt::Key_Shift && e->key() != Qt::Key_Control && e->key() != Qt::Key_Alt &&
            e->key() != Qt::Key_Meta)
            events_->keyPressed(text.isEmpty() ? 0 : text.at(0).unicode());
        return;
    }
    events_->keyPressed(text.at(0).unicode());
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

#include "displaywindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <limits>

namespace bx {
namespace {

// Fills count pixels from p. Squares are a few pixels wide, so short rows are written with a
// few overlapping 16-byte copies instead of a loop that first works out its own length.
inline void fillRow(QRgb* p, int count, const QRgb (&quad)[4]) {
    if (count >= 4 && count <= 16) {
        std::memcpy(p, quad, sizeof quad);
        std::memcpy(p + count - 4, quad, sizeof quad);
        if (count > 8) {
            std::memcpy(p + 4, quad, sizeof quad);
            std::memcpy(p + count - 8, quad, sizeof quad);
        }
        return;
    }
    std::fill(p, p + count, quad[0]);
}

} // namespace

DisplayWindow::DisplayWindow() : QWidget(nullptr, Qt::Window) {
    setObjectName("displaywindow");
    setWindowTitle("Simulation");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resizePixels(4, 4);
}

void DisplayWindow::resizePixels(int width, int height) {
    // The world keeps what was painted where it still fits; new parts start black.
    std::vector<QRgb> fresh(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), blackPixel);
    for (int y = 0; y < std::min(height, height_); ++y)
        std::copy_n(pixels_.begin() + std::ptrdiff_t(y) * width_, std::min(width, width_),
                    fresh.begin() + std::ptrdiff_t(y) * width);
    pixels_ = std::move(fresh);
    width_ = width;
    height_ = height;
}

QImage DisplayWindow::view() const {
    return QImage(reinterpret_cast<const uchar*>(pixels_.data()), width_, height_, width_ * 4,
                  QImage::Format_RGB32);
}

void DisplayWindow::clear() {
    std::fill(pixels_.begin(), pixels_.end(), blackPixel);
    markClean();
    update(); // shown at once, also when no tick follows
}

void DisplayWindow::fillBox(double x1, double y1, double x2, double y2, PackedColour colour) {
    const PixelSpan xs = pixelSpan(x1, x2);
    const PixelSpan ys = pixelSpan(y1, y2);
    const int left = std::max(xs.first, 0), right = std::min(xs.last, width_ - 1);
    const int top = std::max(ys.first, 0), bottom = std::min(ys.last, height_ - 1);
    if (left > right || top > bottom)
        return;
    const QRgb rgb = qRgb(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
    const QRgb quad[4] = {rgb, rgb, rgb, rgb};
    const int count = right - left + 1;
    const std::ptrdiff_t stride = width_;
    QRgb* start = pixels_.data() + std::ptrdiff_t(top) * stride + left;
    for (int y = top; y <= bottom; ++y, start += stride)
        fillRow(start, count, quad);
    dirtyLeft_ = std::min(dirtyLeft_, left);
    dirtyTop_ = std::min(dirtyTop_, top);
    dirtyRight_ = std::max(dirtyRight_, right);
    dirtyBottom_ = std::max(dirtyBottom_, bottom);
}

void DisplayWindow::flush() {
    if (dirtyLeft_ > dirtyRight_)
        return;
    update(QRect(QPoint(dirtyLeft_, dirtyTop_), QPoint(dirtyRight_, dirtyBottom_)));
    markClean();
}

void DisplayWindow::markClean() {
    dirtyLeft_ = dirtyTop_ = std::numeric_limits<int>::max();
    dirtyRight_ = dirtyBottom_ = std::numeric_limits<int>::min();
}

PackedColour DisplayWindow::pixelColour(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    const QRgb p = pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)];
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
    const QRect painted = r.intersected(QRect(0, 0, width_, height_));
    p.drawImage(painted, view(), painted);
    // Outside the pixels (a window larger than the world) the canvas is black.
    const QRegion outside = QRegion(r).subtracted(QRegion(QRect(0, 0, width_, height_)));
    for (const QRect& o : outside)
        p.fillRect(o, Qt::black);
}

void DisplayWindow::resizeEvent(QResizeEvent*) {
    if (width() != width_ || height() != height_)
        resizePixels(std::max(width(), 1), std::max(height(), 1));
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

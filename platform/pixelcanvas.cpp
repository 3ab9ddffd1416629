#include "pixelcanvas.h"

#include "engine/painting.h"

#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cstring>
#include <limits>

namespace bx {
namespace {

// Fills count pixels from p. Squares are a few pixels wide, so short rows are written with a
// few overlapping 16-byte copies instead of a loop that first works out its own length.
inline void fillRow(QRgb* p, int count, const QRgb (&quad)[4]) {
    if (count >= 4 && count <= 16) {
        for (int i = 0; i < count - 4; i += 4)
            std::memcpy(p + i, quad, sizeof quad);
        std::memcpy(p + count - 4, quad, sizeof quad);
        return;
    }
    std::fill(p, p + count, quad[0]);
}

inline QRgb rgbOf(PackedColour colour) {
    return qRgb(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

} // namespace

void PixelCanvas::resize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == width_ && height == height_)
        return;
    std::vector<QRgb> fresh(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), blackPixel);
    for (int y = 0; y < std::min(height, height_); ++y)
        std::copy_n(pixels_.begin() + std::ptrdiff_t(y) * width_, std::min(width, width_),
                    fresh.begin() + std::ptrdiff_t(y) * width);
    pixels_ = std::move(fresh);
    width_ = width;
    height_ = height;
}

QImage PixelCanvas::view() const {
    return QImage(reinterpret_cast<const uchar*>(pixels_.data()), width_, height_, width_ * 4,
                  QImage::Format_RGB32);
}

void PixelCanvas::clear() {
    std::fill(pixels_.begin(), pixels_.end(), blackPixel);
    markClean();
}

void PixelCanvas::fillBox(double x1, double y1, double x2, double y2, PackedColour colour) {
    const PixelSpan xs = pixelSpan(x1, x2);
    const PixelSpan ys = pixelSpan(y1, y2);
    const int left = std::max(xs.first, 0), right = std::min(xs.last, width_ - 1);
    const int top = std::max(ys.first, 0), bottom = std::min(ys.last, height_ - 1);
    if (left > right || top > bottom)
        return;
    const QRgb rgb = rgbOf(colour);
    const QRgb quad[4] = {rgb, rgb, rgb, rgb};
    const int count = right - left + 1;
    const std::ptrdiff_t stride = width_;
    QRgb* start = pixels_.data() + std::ptrdiff_t(top) * stride + left;
    for (int y = top; y <= bottom; ++y, start += stride)
        fillRow(start, count, quad);
    markDirty(left, top, right, bottom);
}

void PixelCanvas::markDirty(int left, int top, int right, int bottom) {
    dirtyLeft_ = std::min(dirtyLeft_, left);
    dirtyTop_ = std::min(dirtyTop_, top);
    dirtyRight_ = std::max(dirtyRight_, right);
    dirtyBottom_ = std::max(dirtyBottom_, bottom);
}

void PixelCanvas::fillSquare(int column, int row, int size, PackedColour organism, PackedColour environment,
                             bool showOrganisms, bool showEnvironment) {
    if (!(showOrganisms && showEnvironment && fillBothLayers(column, row, size, organism, environment)))
        paintSquareBoxes(*this, column, row, size, organism, environment, showOrganisms, showEnvironment);
}

// The boxes of both layers with each pixel written once, the environment's corner rows holding
// both colours; only for a square wholly on the canvas whose corner starts at its own corner
// (a square of 2 pixels or more). Returns whether it painted.
bool PixelCanvas::fillBothLayers(int column, int row, int size, PackedColour organism,
                                 PackedColour environment) {
    const double s = size, left = (column - 1) * s, top = (row - 1) * s;
    const PixelSpan xs = pixelSpan(left, left + s), ys = pixelSpan(top, top + s);
    const PixelSpan cornerX = pixelSpan(left, left + s / 2 - 1), cornerY = pixelSpan(top, top + s / 2 - 1);
    if (xs.first < 0 || ys.first < 0 || xs.last >= width_ || ys.last >= height_ ||
        cornerX.first != xs.first || cornerY.first != ys.first || cornerX.last >= xs.last ||
        cornerY.last >= ys.last)
        return false;
    const QRgb org = rgbOf(organism), env = rgbOf(environment);
    const QRgb orgQuad[4] = {org, org, org, org}, envQuad[4] = {env, env, env, env};
    const int width = xs.last - xs.first + 1, cornerWidth = cornerX.last - cornerX.first + 1;
    QRgb* start = pixels_.data() + std::ptrdiff_t(ys.first) * width_ + xs.first;
    for (int y = ys.first; y <= ys.last; ++y, start += width_)
        if (y <= cornerY.last) {
            fillRow(start, cornerWidth, envQuad);
            fillRow(start + cornerWidth, width - cornerWidth, orgQuad);
        } else {
            fillRow(start, width, orgQuad);
        }
    markDirty(xs.first, ys.first, xs.last, ys.last);
    return true;
}

QRect PixelCanvas::takeDirty() {
    if (dirtyLeft_ > dirtyRight_)
        return {};
    const QRect dirty(QPoint(dirtyLeft_, dirtyTop_), QPoint(dirtyRight_, dirtyBottom_));
    markClean();
    return dirty;
}

void PixelCanvas::markClean() {
    dirtyLeft_ = dirtyTop_ = std::numeric_limits<int>::max();
    dirtyRight_ = dirtyBottom_ = std::numeric_limits<int>::min();
}

PackedColour PixelCanvas::pixelColour(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    const QRgb p = pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)];
    return packColour(qRed(p), qGreen(p), qBlue(p));
}

void paintPixels(QPainter& painter, const PixelCanvas& canvas, const QRect& r) {
    const QRect all(0, 0, canvas.width(), canvas.height());
    const QRect painted = r.intersected(all);
    painter.drawImage(painted, canvas.view(), painted);
    const QRegion outside = QRegion(r).subtracted(QRegion(all));
    for (const QRect& o : outside)
        painter.fillRect(o, Qt::black);
}

} // namespace bx

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
    const SquareColours square{organism, environment};
    if (!(showOrganisms && showEnvironment && fillBothLayersDown(column, row, &square, 1, size) == 1))
        paintSquareBoxes(*this, column, row, size, organism, environment, showOrganisms, showEnvironment);
}

void PixelCanvas::fillColumn(int column, int firstRow, const SquareColours* squares, int count, int size,
                             bool showOrganisms, bool showEnvironment) {
    const int done =
        showOrganisms && showEnvironment ? fillBothLayersDown(column, firstRow, squares, count, size) : 0;
    for (int i = done; i < count; ++i)
        fillSquare(column, firstRow + i, size, squares[i].organism, squares[i].environment, showOrganisms,
                   showEnvironment);
}

// The boxes of both layers of the squares of a column from firstRow down, each pixel written
// once where it can: the environment's corner rows hold both colours, and each square's bottom
// row, the next one's top row, is left to the next one. Takes the squares wholly on the canvas
// whose corners start at their own corners (of 2 pixels or more), as many as it can in turn;
// returns how many it painted.
int PixelCanvas::fillBothLayersDown(int column, int firstRow, const SquareColours* squares, int count,
                                    int size) {
    const double s = size, left = (column - 1) * s;
    const PixelSpan xs = pixelSpan(left, left + s), cornerX = pixelSpan(left, left + s / 2 - 1);
    if (xs.first < 0 || xs.last >= width_ || cornerX.first != xs.first || cornerX.last >= xs.last)
        return 0;
    const int width = xs.last - xs.first + 1, cornerWidth = cornerX.last - cornerX.first + 1;
    int painted = 0, top = 0, bottom = 0;
    QRgb* start = nullptr;
    QRgb org = 0;
    for (; painted < count; ++painted) {
        const double squareTop = (firstRow + painted - 1) * s;
        const PixelSpan ys = pixelSpan(squareTop, squareTop + s);
        const PixelSpan cornerY = pixelSpan(squareTop, squareTop + s / 2 - 1);
        if (ys.first < 0 || ys.last >= height_ || cornerY.first != ys.first || cornerY.last >= ys.last)
            break;
        if (painted == 0)
            top = ys.first;
        bottom = ys.last;
        org = rgbOf(squares[painted].organism);
        const QRgb env = rgbOf(squares[painted].environment);
        const QRgb orgQuad[4] = {org, org, org, org}, envQuad[4] = {env, env, env, env};
        start = pixels_.data() + std::ptrdiff_t(ys.first) * width_ + xs.first;
        for (int y = ys.first; y <= cornerY.last; ++y, start += width_) {
            fillRow(start, cornerWidth, envQuad);
            fillRow(start + cornerWidth, width - cornerWidth, orgQuad);
        }
        for (int y = cornerY.last + 1; y < ys.last; ++y, start += width_)
            fillRow(start, width, orgQuad);
    }
    if (painted == 0)
        return 0;
    const QRgb orgQuad[4] = {org, org, org, org};
    fillRow(start, width, orgQuad); // the last one's bottom row
    markDirty(xs.first, top, xs.last, bottom);
    return painted;
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

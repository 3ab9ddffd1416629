#include "imagecanvas.h"

#include <algorithm>

namespace bx {

ImageCanvas::ImageCanvas(int width, int height, int originX, int originY)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), originX_(originX), originY_(originY),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3, 0) {}

void ImageCanvas::clear() {
    std::fill(pixels_.begin(), pixels_.end(), uint8_t{0});
}

void ImageCanvas::setOrigin(int originX, int originY) {
    originX_ = originX;
    originY_ = originY;
}

void ImageCanvas::fillBox(double x1, double y1, double x2, double y2, PackedColour colour) {
    const PixelSpan xs = pixelSpan(x1, x2);
    const PixelSpan ys = pixelSpan(y1, y2);
    // Clip in 64 bits: canvas coordinates minus the origin may leave the int range near its ends.
    const int64_t left = std::max<int64_t>(int64_t{xs.first} - originX_, 0);
    const int64_t right = std::min<int64_t>(int64_t{xs.last} - originX_, width_ - 1);
    const int64_t top = std::max<int64_t>(int64_t{ys.first} - originY_, 0);
    const int64_t bottom = std::min<int64_t>(int64_t{ys.last} - originY_, height_ - 1);
    if (left > right || top > bottom)
        return;
    const std::array<uint8_t, 3> rgb{static_cast<uint8_t>(colour & 0xFF),
                                     static_cast<uint8_t>((colour >> 8) & 0xFF),
                                     static_cast<uint8_t>((colour >> 16) & 0xFF)};
    for (int64_t y = top; y <= bottom; ++y) {
        uint8_t* p = pixels_.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                       static_cast<std::size_t>(left)) *
                                          3;
        for (int64_t x = left; x <= right; ++x, p += 3)
            std::copy(rgb.begin(), rgb.end(), p);
    }
}

std::array<uint8_t, 3> ImageCanvas::pixel(int x, int y) const {
    const uint8_t* p = row(y) + static_cast<std::size_t>(x) * 3;
    return {p[0], p[1], p[2]};
}

const uint8_t* ImageCanvas::row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) * 3;
}

} // namespace bx

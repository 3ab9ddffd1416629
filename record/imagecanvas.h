#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "engine/canvas.h"

namespace bx {

// An RGB picture (3 bytes per pixel, red first, rows top to bottom) that paints a window of a
// larger canvas: canvas pixel (originX + x, originY + y) is picture pixel (x, y). Boxes map to
// pixels with pixelSpan, like every canvas of the program, and are clipped to the window, so a
// big picture can be painted one band at a time.
class ImageCanvas : public Canvas {
public:
    ImageCanvas(int width, int height, int originX = 0, int originY = 0);

    void clear() override;
    void fillBox(double x1, double y1, double x2, double y2, PackedColour colour) override;

    void setOrigin(int originX, int originY);

    int width() const { return width_; }
    int height() const { return height_; }
    // Picture pixel (x, y) as red, green, blue; x and y must lie inside the picture.
    std::array<uint8_t, 3> pixel(int x, int y) const;
    const std::vector<uint8_t>& pixels() const { return pixels_; }
    const uint8_t* row(int y) const;

private:
    int width_;
    int height_;
    int originX_;
    int originY_;
    std::vector<uint8_t> pixels_;
};

} // namespace bx

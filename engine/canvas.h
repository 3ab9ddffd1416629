#pragma once
#include "colour.h"

namespace bx {

// A drawing surface in pixels, origin top left. Boxes are given by two corner points, both
// included; coordinates may be fractional or negative, or lie outside the surface:
// the canvas clips, not the caller.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void clear() = 0; // fill with black
    virtual void fillBox(double x1, double y1, double x2, double y2, PackedColour colour) = 0;
};

// Which pixels a box edge pair covers: both ends rounded half to even, in increasing order.
// Shared by every canvas so that the simulator, the runner's pictures and the screensaver agree.
struct PixelSpan {
    int first;
    int last;
};
PixelSpan pixelSpan(double a, double b);

} // namespace bx

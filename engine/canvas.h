#pragma once
#include "colour.h"

namespace bx {

// One square's colours as painted.
struct SquareColours {
    PackedColour organism, environment;
};

// A drawing surface in pixels, origin top left. Boxes are given by two corner points, both
// included; coordinates may be fractional or negative, or lie outside the surface:
// the canvas clips, not the caller.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void clear() = 0; // fill with black
    virtual void fillBox(double x1, double y1, double x2, double y2, PackedColour colour) = 0;
    // Paints square (column, row) of a world as paintSquareModel does (painting.h); a canvas
    // may put it off until it shows what was painted, so long as the pixels come out the same.
    virtual void paintSquare(int column, int row, int size, const Rgb& organism, const Rgb& environment,
                             bool showOrganisms, bool showEnvironment);
    // Paints count squares of a column from firstRow down, in that order, each as paintSquare
    // would with its colours: one call for a pass of the world instead of one a square.
    virtual void paintColumn(int column, int firstRow, const SquareColours* squares, int count, int size,
                             bool showOrganisms, bool showEnvironment);
    // Whether the canvas shows what was painted a frame at a time, so that a world's squares may
    // wait to be painted until a frame is due (Simulation::paintWaiting).
    virtual bool showsFrames() const { return false; }
};

// Paints nothing: for worlds nobody sees (the runner's, hidden; a fuzzed world's).
class NullCanvas : public Canvas {
public:
    void clear() override {}
    void fillBox(double, double, double, double, PackedColour) override {}
};

// Which pixels a box edge pair covers: both ends rounded half to even, in increasing order.
// Shared by every canvas so that the simulator, the runner's pictures and the screensaver agree.
struct PixelSpan {
    int first;
    int last;
};
inline PixelSpan pixelSpan(double a, double b) {
    const int x = roundToInt(a);
    const int y = roundToInt(b);
    return {x < y ? x : y, x < y ? y : x};
}

} // namespace bx

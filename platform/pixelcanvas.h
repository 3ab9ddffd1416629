#pragma once
// A canvas that owns its pixels: painting writes 32-bit RGB words without any check of Qt's
// image sharing and remembers the part that changed, so a window repaints only that, once per
// tick. The simulator's display window and the screensaver's surfaces paint through it.
#include <QImage>
#include <QRect>
#include <vector>

#include "engine/canvas.h"

class QPainter;

namespace bx {

class PixelCanvas : public Canvas {
public:
    PixelCanvas() { markClean(); }

    void clear() override; // black, and nothing left to flush
    void fillBox(double x1, double y1, double x2, double y2, PackedColour colour) final;
    // Paints a world's square as paintSquareModel does (engine/painting.h), without a call a box.
    void fillSquare(int column, int row, int size, PackedColour organism, PackedColour environment,
                    bool showOrganisms, bool showEnvironment);
    // Paints count squares of a column from firstRow down, in that order, as fillSquare would.
    void fillColumn(int column, int firstRow, const SquareColours* squares, int count, int size,
                    bool showOrganisms, bool showEnvironment);

    // New size in pixels (at least 1 × 1). What was painted is kept where it still fits; new
    // parts start black.
    void resize(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }

    // The painted pixels as an image that borrows them (valid until the next paint or resize).
    QImage view() const;
    // The colour at pixel (x, y) as a packed colour (black outside).
    PackedColour pixelColour(int x, int y) const;

    // The part painted since the last call (empty when nothing was), and marks it clean.
    QRect takeDirty();

private:
    int fillBothLayersDown(int column, int firstRow, const SquareColours* squares, int count, int size);
    void markDirty(int left, int top, int right, int bottom);
    void markClean();
    static constexpr QRgb blackPixel = 0xFF000000;
    std::vector<QRgb> pixels_; // rows top to bottom
    int width_ = 0, height_ = 0;
    // The part painted since the last takeDirty (empty while left > right).
    int dirtyLeft_ = 0, dirtyTop_ = 0, dirtyRight_ = -1, dirtyBottom_ = -1;
};

// Paints the canvas's pixels into the area r of a widget; the part of r beyond them is black.
void paintPixels(QPainter& painter, const PixelCanvas& canvas, const QRect& r);

} // namespace bx

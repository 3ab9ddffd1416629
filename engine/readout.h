#pragma once
#include "grid.h"

namespace bx {

// What the current-square read-out shows: the square and its six components, rounded.
struct Readout {
    int column = 0;
    int row = 0;
    int orgRed = 0, orgGreen = 0, orgBlue = 0;
    int envRed = 0, envGreen = 0, envBlue = 0;
    bool operator==(const Readout&) const = default;
};

// The square a canvas pixel belongs to: round(p / size + 1/2), clamped to 1..gridSize.
int squareIndexAtPixel(int pixel, int squareSize, int gridSize);

// The read-out for the pixel (pixelX, pixelY). Squares outside the grids read as empty.
Readout inspectSquare(int pixelX, int pixelY, int squareSize, int gridSizeX, int gridSizeY,
                      const Grid& orgGrid, const Grid& envGrid);

} // namespace bx

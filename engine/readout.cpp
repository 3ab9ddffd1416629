#include "readout.h"

#include <algorithm>

#include "numeric.h"

namespace bx {

int squareIndexAtPixel(int pixel, int squareSize, int gridSize) {
    const double size = squareSize;
    const int index = roundToInt((size / 2 + pixel) / size);
    return std::clamp(index, 1, std::max(1, gridSize));
}

Readout inspectSquare(int pixelX, int pixelY, int squareSize, int gridSizeX, int gridSizeY,
                      const Grid& orgGrid, const Grid& envGrid) {
    Readout r;
    r.column = squareIndexAtPixel(pixelX, squareSize, gridSizeX);
    r.row = squareIndexAtPixel(pixelY, squareSize, gridSizeY);
    const Rgb empty{};
    const Rgb& org = orgGrid.contains(r.column, r.row) ? orgGrid.at(r.column, r.row) : empty;
    const Rgb& env = envGrid.contains(r.column, r.row) ? envGrid.at(r.column, r.row) : empty;
    r.orgRed = roundToInt(org.red);
    r.orgGreen = roundToInt(org.green);
    r.orgBlue = roundToInt(org.blue);
    r.envRed = roundToInt(env.red);
    r.envGreen = roundToInt(env.green);
    r.envBlue = roundToInt(env.blue);
    return r;
}

} // namespace bx

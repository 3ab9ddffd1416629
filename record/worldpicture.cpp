#include "worldpicture.h"

#include <algorithm>

#include "engine/painting.h"
#include "record/imagecanvas.h"

namespace bx {

bool pictureShowsEnvironment(int squareSize) {
    return squareSize >= 2;
}

void paintWorldRows(Canvas& canvas, const WorldState& world, int gridSizeX, int firstRow, int lastRow,
                    int squareSize, bool showOrganisms, bool showEnvironment) {
    showEnvironment = showEnvironment && pictureShowsEnvironment(squareSize);
    const int lastColumn = std::min({gridSizeX, world.orgGrid.sizeX(), world.envGrid.sizeX()});
    lastRow = std::min({lastRow, world.orgGrid.sizeY(), world.envGrid.sizeY()});
    for (int c = 1; c <= lastColumn; ++c)
        for (int r = std::max(firstRow, 1); r <= lastRow; ++r)
            paintSquareModel(canvas, c, r, squareSize, world.orgGrid.at(c, r), world.envGrid.at(c, r),
                             showOrganisms, showEnvironment);
}

void renderWorld(const WorldState& world, int gridSizeX, int gridSizeY, int squareSize,
                 const std::function<void(std::span<const uint8_t> row)>& row) {
    const int width = gridSizeX * squareSize;
    ImageCanvas band(width, squareSize);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (int r = 1; r <= gridSizeY; ++r) {
        band.clear();
        band.setOrigin(0, (r - 1) * squareSize);
        // A square's box reaches one pixel into the next row of squares, but on screen that pixel
        // row is painted over by the next row's squares (same column, painted later), so each band
        // needs only its own row of squares.
        paintWorldRows(band, world, gridSizeX, r, r, squareSize);
        for (int y = 0; y < squareSize; ++y)
            row(std::span(band.row(y), rowBytes));
    }
}

} // namespace bx

#pragma once
// The picture of a world, painted with the simulator's own square model.
#include <cstdint>
#include <functional>
#include <ostream>
#include <span>

#include "engine/canvas.h"
#include "engine/worldstate.h"

namespace bx {

// Whether the picture shows the environment as the corner mark. At square size 1 the mark
// would have a negative extent and spill onto the neighbouring square, so, like the simulator's
// main window at that size, only organisms are shown.
bool pictureShowsEnvironment(int squareSize);

// Paints the squares of rows firstRow..lastRow (columns 1..gridSizeX) in the drawing phase's
// order, column by column, so that shared border pixels end as they do on screen.
// Hidden layers are left out; the environment is never shown at square size 1.
void paintWorldRows(Canvas& canvas, const WorldState& world, int gridSizeX, int firstRow, int lastRow,
                    int squareSize, bool showOrganisms = true, bool showEnvironment = true);

// The picture of the visible squares, gridSizeX * squareSize by gridSizeY * squareSize pixels on
// black, produced one row of squares at a time: `row` receives every pixel row, top to bottom,
// as width * 3 bytes (red, green, blue).
void renderWorld(const WorldState& world, int gridSizeX, int gridSizeY, int squareSize,
                 const std::function<void(std::span<const uint8_t> row)>& row);

// renderWorld written as a PNG picture (worldpng.cpp: the one part that needs zlib).
void writeWorldPng(std::ostream& out, const WorldState& world, int gridSizeX, int gridSizeY, int squareSize);

} // namespace bx

#pragma once
#include "canvas.h"
#include "colour.h"

namespace bx {

// Paints the square at (column, row) with edge `size` pixels: column 1, row 1 sits at the
// canvas origin. With both layers shown: the organism fills the square and the environment
// marks its top-left corner; with one layer, that layer fills it; with none, nothing.
void paintSquareModel(Canvas& canvas, int column, int row, int size, const Rgb& organism,
                      const Rgb& environment, bool showOrganisms, bool showEnvironment);
void paintSquareModel(Canvas& canvas, int column, int row, int size, PackedColour organism,
                      PackedColour environment, bool showOrganisms, bool showEnvironment);

} // namespace bx

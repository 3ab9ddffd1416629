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

// The boxes of paintSquareModel, for a canvas type whose fillBox can be called directly (a
// canvas that paints thousands of squares a frame).
template <class C>
inline void paintSquareBoxes(C& canvas, int column, int row, int size, PackedColour organism,
                             PackedColour environment, bool showOrganisms, bool showEnvironment) {
    const double s = size;
    const double left = (column - 1) * s;
    const double top = (row - 1) * s;
    if (showOrganisms) {
        canvas.fillBox(left, top, left + s, top + s, organism);
        if (showEnvironment)
            canvas.fillBox(left, top, left + s / 2 - 1, top + s / 2 - 1, environment);
    } else if (showEnvironment) {
        canvas.fillBox(left, top, left + s, top + s, environment);
    }
}

} // namespace bx

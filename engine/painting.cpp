#include "painting.h"

#include <algorithm>

namespace bx {

PixelSpan pixelSpan(double a, double b) {
    const int x = roundToInt(a);
    const int y = roundToInt(b);
    return {std::min(x, y), std::max(x, y)};
}

void paintSquareModel(Canvas& canvas, int column, int row, int size, const Rgb& organism,
                      const Rgb& environment, bool showOrganisms, bool showEnvironment) {
    paintSquareModel(canvas, column, row, size, packColour(organism), packColour(environment), showOrganisms,
                     showEnvironment);
}

void paintSquareModel(Canvas& canvas, int column, int row, int size, PackedColour organism,
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

void Canvas::paintSquare(int column, int row, int size, const Rgb& organism, const Rgb& environment,
                         bool showOrganisms, bool showEnvironment) {
    paintSquareModel(*this, column, row, size, organism, environment, showOrganisms, showEnvironment);
}

void Canvas::paintColumn(int column, int firstRow, const SquareColours* squares, int count, int size,
                         bool showOrganisms, bool showEnvironment) {
    for (int i = 0; i < count; ++i)
        paintSquareModel(*this, column, firstRow + i, size, squares[i].organism, squares[i].environment,
                         showOrganisms, showEnvironment);
}

} // namespace bx

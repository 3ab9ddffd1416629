#include "painting.h"

namespace bx {

void paintSquareModel(Canvas& canvas, int column, int row, int size, const Rgb& organism,
                      const Rgb& environment, bool showOrganisms, bool showEnvironment) {
    paintSquareModel(canvas, column, row, size, packColour(organism), packColour(environment), showOrganisms,
                     showEnvironment);
}

void paintSquareModel(Canvas& canvas, int column, int row, int size, PackedColour organism,
                      PackedColour environment, bool showOrganisms, bool showEnvironment) {
    paintSquareBoxes(canvas, column, row, size, organism, environment, showOrganisms, showEnvironment);
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

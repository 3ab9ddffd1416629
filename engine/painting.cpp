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
    const double s = size;
    const double left = (column - 1) * s;
    const double top = (row - 1) * s;
    if (showOrganisms) {
        canvas.fillBox(left, top, left + s, top + s, packColour(organism));
        if (showEnvironment)
            canvas.fillBox(left, top, left + s / 2 - 1, top + s / 2 - 1, packColour(environment));
    } else if (showEnvironment) {
        canvas.fillBox(left, top, left + s, top + s, packColour(environment));
    }
}

} // namespace bx

#include "platform/qtscreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace bx {

int twipsPerPixelAt(double dotsPerInch) {
    if (!(dotsPerInch > 0))
        return 15;
    return std::max(1, static_cast<int>(std::nearbyint(1440.0 / dotsPerInch)));
}

static QScreen* primary() {
    return QGuiApplication::primaryScreen();
}

int QtScreen::widthPixels() const {
    return primary() ? primary()->size().width() : 0;
}
int QtScreen::heightPixels() const {
    return primary() ? primary()->size().height() : 0;
}
int QtScreen::twipsPerPixelX() const {
    return twipsPerPixelAt(primary() ? primary()->logicalDotsPerInchX() : 0);
}
int QtScreen::twipsPerPixelY() const {
    return twipsPerPixelAt(primary() ? primary()->logicalDotsPerInchY() : 0);
}

} // namespace bx

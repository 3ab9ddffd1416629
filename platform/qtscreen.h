#pragma once
// The primary screen's size, read afresh on every call so a changed resolution is seen.
#include "platform/screen.h"

namespace bx {

class QtScreen : public ScreenMetrics {
public:
    int widthPixels() const override;
    int heightPixels() const override;
    // 1440 twips per inch over the logical dots per inch, rounded: 15 at 96 dpi, 12 at 120 dpi.
    int twipsPerPixelX() const override;
    int twipsPerPixelY() const override;
};

// Twips per pixel at a logical resolution; 15 when the resolution is unknown (0 or less).
int twipsPerPixelAt(double dotsPerInch);

} // namespace bx

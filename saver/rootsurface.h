#pragma once
// The desktop's background, the root window, as a drawing surface, as X screen hacks draw on it:
// no window of the saver's own, so it takes neither keyboard nor pointer. The pixels are put to
// the screen over a connection of its own; the background is repainted when the surface goes.
#include <QElapsedTimer>
#include <cstdint>

#include "engine/saverworld.h"
#include "platform/pixelcanvas.h"
#include "xcbconnection.h"

namespace bx {

class RootSurface {
public:
    RootSurface();  // without a display, ok() is false
    ~RootSurface(); // the desktop's own background comes back before the connection closes
    RootSurface(const RootSurface&) = delete;
    RootSurface& operator=(const RootSurface&) = delete;

    bool ok() const { return xcb_ != nullptr; }
    // The root window's size: the whole desktop, looked up again when a screen changes.
    SurfaceSize size() const { return size_; }
    void updateSize();
    // The pixels, the size of the root window.
    PixelCanvas& canvas();
    // Puts what was painted since the last flush on the screen, at most 60 times a second.
    void flush();

private:
    XcbConnection xcb_;
    uint32_t root_ = 0;
    uint32_t gc_ = 0;
    uint8_t depth_ = 24;
    SurfaceSize size_;
    PixelCanvas pixels_;
    QElapsedTimer lastFrame_;
};

} // namespace bx

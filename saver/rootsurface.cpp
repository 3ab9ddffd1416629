#include "rootsurface.h"

#include <xcb/xcb.h>

#include <algorithm>

namespace bx {

RootSurface::RootSurface() {
    int screenNumber = 0;
    XcbConnection c = connectToDisplay(&screenNumber);
    if (!c)
        return;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c.get()));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem || it.data->root_depth < 24) // pixels are put as 32-bit words of 24-bit colour
        return;
    xcb_ = std::move(c);
    root_ = it.data->root;
    depth_ = it.data->root_depth;
    gc_ = xcb_generate_id(xcb_.get());
    xcb_create_gc(xcb_.get(), gc_, root_, 0, nullptr);
    updateSize();
}

RootSurface::~RootSurface() {
    if (!xcb_)
        return;
    // The desktop's background is drawn again where the world was, before the connection goes.
    xcb_clear_area(xcb_.get(), 0, root_, 0, 0, 0, 0);
    xcb_free_gc(xcb_.get(), gc_);
    waitForServer(xcb_.get());
}

void RootSurface::updateSize() {
    if (!xcb_)
        return;
    xcb_connection_t* c = xcb_.get();
    const XcbReply<xcb_get_geometry_reply_t> g(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, root_), nullptr));
    if (g)
        size_ = {g->width, g->height};
}

PixelCanvas& RootSurface::canvas() {
    pixels_.resize(size_.width, size_.height);
    return pixels_;
}

void RootSurface::flush() {
    if (!xcb_ || (lastFrame_.isValid() && lastFrame_.elapsed() < 16))
        return; // what was painted waits for the next frame
    const QRect dirty = pixels_.takeDirty();
    if (dirty.isEmpty())
        return;
    lastFrame_.start();
    xcb_connection_t* c = xcb_.get();
    const QImage image = pixels_.view();
    // A request holds at most the server's maximum length: the rectangle goes in bands of rows.
    const std::size_t rowBytes = static_cast<std::size_t>(dirty.width()) * 4;
    const std::size_t maximum = std::size_t(xcb_get_maximum_request_length(c)) * 4 - 64;
    const int bandRows = std::max(1, static_cast<int>(maximum / rowBytes));
    std::vector<uint8_t> band;
    for (int top = dirty.top(); top <= dirty.bottom(); top += bandRows) {
        const int rows = std::min(bandRows, dirty.bottom() - top + 1);
        band.resize(rowBytes * std::size_t(rows));
        for (int r = 0; r < rows; ++r)
            std::copy_n(image.constScanLine(top + r) + std::ptrdiff_t(dirty.left()) * 4, rowBytes,
                        band.begin() + std::ptrdiff_t(r) * std::ptrdiff_t(rowBytes));
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, gc_, uint16_t(dirty.width()), uint16_t(rows),
                      int16_t(dirty.left()), int16_t(top), 0, depth_, uint32_t(band.size()), band.data());
    }
    xcb_flush(c);
}

} // namespace bx

#include "rootsurface.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

namespace bx {

struct RootSurface::Connection {
    xcb_connection_t* xcb = nullptr;
    xcb_window_t root = 0;
    uint8_t depth = 24;
    xcb_gcontext_t gc = 0;
};

RootSurface::RootSurface() {
    if (!std::getenv("DISPLAY"))
        return;
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem || it.data->root_depth < 24) { // pixels are put as 32-bit words of 24-bit colour
        xcb_disconnect(c);
        return;
    }
    connection_ = new Connection{c, it.data->root, it.data->root_depth, xcb_generate_id(c)};
    xcb_create_gc(c, connection_->gc, connection_->root, 0, nullptr);
    updateSize();
}

RootSurface::~RootSurface() {
    if (!connection_)
        return;
    // The desktop's background is drawn again where the world was.
    xcb_clear_area(connection_->xcb, 0, connection_->root, 0, 0, 0, 0);
    xcb_free_gc(connection_->xcb, connection_->gc);
    xcb_flush(connection_->xcb);
    xcb_disconnect(connection_->xcb);
    delete connection_;
}

void RootSurface::updateSize() {
    if (!connection_)
        return;
    xcb_connection_t* c = connection_->xcb;
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, connection_->root), nullptr);
    if (!g)
        return;
    size_ = {g->width, g->height};
    std::free(g);
}

PixelCanvas& RootSurface::canvas() {
    pixels_.resize(size_.width, size_.height);
    return pixels_;
}

void RootSurface::flush() {
    if (!connection_ || (lastFrame_.isValid() && lastFrame_.elapsed() < 16))
        return; // what was painted waits for the next frame
    const QRect dirty = pixels_.takeDirty();
    if (dirty.isEmpty())
        return;
    lastFrame_.start();
    xcb_connection_t* c = connection_->xcb;
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
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, connection_->root, connection_->gc,
                      uint16_t(dirty.width()), uint16_t(rows), int16_t(dirty.left()), int16_t(top), 0,
                      connection_->depth, uint32_t(band.size()), band.data());
    }
    xcb_flush(c);
}

} // namespace bx

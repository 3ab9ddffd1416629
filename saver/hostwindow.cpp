#include "hostwindow.h"

#include <xcb/xcb.h>

#include <cstdlib>

namespace bx {

struct X11HostWindows::Connection {
    xcb_connection_t* xcb = nullptr;
};

X11HostWindows::X11HostWindows() : connection_(new Connection) {
    if (!std::getenv("DISPLAY"))
        return;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    connection_->xcb = c;
}

X11HostWindows::~X11HostWindows() {
    if (connection_->xcb)
        xcb_disconnect(connection_->xcb);
    delete connection_;
}

std::optional<SurfaceSize> X11HostWindows::clientSize(int64_t id) {
    xcb_connection_t* c = connection_->xcb;
    // X ids are 29 bits; 0 and anything else is never a window.
    if (!c || id <= 0 || id > 0x1FFFFFFF || xcb_connection_has_error(c))
        return std::nullopt;
    const auto window = static_cast<xcb_window_t>(id);
    // A round trip that fails with BadWindow (or BadDrawable for a pixmap's id) once the window
    // is destroyed. A pixmap has geometry too, so the attributes are asked as well.
    xcb_generic_error_t* error = nullptr;
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), &error);
    std::free(error);
    if (!attributes)
        return std::nullopt;
    std::free(attributes);
    error = nullptr;
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), &error);
    std::free(error);
    if (!geometry)
        return std::nullopt;
    const SurfaceSize size{geometry->width, geometry->height};
    std::free(geometry);
    return size;
}

} // namespace bx

#include "hostwindow.h"

#include <xcb/xcb.h>

#include <cstdlib>

namespace bx {

X11HostWindows::X11HostWindows() : xcb_(connectToDisplay()) {}

std::optional<SurfaceSize> X11HostWindows::clientSize(int64_t id) {
    xcb_connection_t* c = xcb_.get();
    // X ids are 29 bits; 0 and anything else is never a window.
    if (!c || id <= 0 || id > 0x1FFFFFFF || xcb_connection_has_error(c))
        return std::nullopt;
    const auto window = static_cast<xcb_window_t>(id);
    // A round trip that fails with BadWindow (or BadDrawable for a pixmap's id) once the window
    // is destroyed. A pixmap has geometry too, so the attributes are asked as well.
    xcb_generic_error_t* error = nullptr;
    const XcbReply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), &error));
    std::free(error);
    if (!attributes)
        return std::nullopt;
    error = nullptr;
    const XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), &error));
    std::free(error);
    if (!geometry)
        return std::nullopt;
    return SurfaceSize{geometry->width, geometry->height};
}

} // namespace bx

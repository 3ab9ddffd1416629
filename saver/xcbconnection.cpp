#include "xcbconnection.h"

#include <xcb/xcb.h>

namespace bx {

void XcbDisconnect::operator()(xcb_connection_t* connection) const {
    xcb_disconnect(connection);
}

XcbConnection connectToDisplay(int* screenNumber) {
    if (!std::getenv("DISPLAY"))
        return nullptr;
    XcbConnection connection(xcb_connect(nullptr, screenNumber));
    if (xcb_connection_has_error(connection.get()))
        return nullptr;
    return connection;
}

void waitForServer(xcb_connection_t* connection) {
    XcbReply<xcb_get_input_focus_reply_t>(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

} // namespace bx

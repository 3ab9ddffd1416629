#pragma once
// The saver's own X connections and the replies read from them, owned: a connection is closed and
// a reply freed when its owner goes.
#include <cstdlib>
#include <memory>

struct xcb_connection_t;

namespace bx {

struct XcbDisconnect {
    void operator()(xcb_connection_t* connection) const;
};
using XcbConnection = std::unique_ptr<xcb_connection_t, XcbDisconnect>;

struct XcbFree {
    void operator()(void* reply) const { std::free(reply); }
};
template <class Reply> using XcbReply = std::unique_ptr<Reply, XcbFree>;

// A connection to the display in DISPLAY, or null when there is none or it cannot be reached.
// screenNumber, when given, receives the display's default screen.
XcbConnection connectToDisplay(int* screenNumber = nullptr);

// Returns once the server has carried out every request sent before: a round trip. Requests that
// are merely written may be dropped by a server that sees the connection close first.
void waitForServer(xcb_connection_t* connection);

} // namespace bx

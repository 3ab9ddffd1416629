#include "platform/displaycheck.h"

#include <xcb/xcb.h>

#include <cstdlib>

namespace bx {
namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::optional<std::string> displayProblem(const std::vector<std::string>& arguments) {
    std::string platform = variable("QT_QPA_PLATFORM");
    std::string display = variable("DISPLAY");
    bool displayNamed = false;
    for (std::size_t k = 0; k + 1 < arguments.size(); ++k) {
        if (arguments[k] == "-platform" || arguments[k] == "--platform")
            platform = arguments[k + 1];
        else if (arguments[k] == "-display" || arguments[k] == "--display")
            display = arguments[k + 1], displayNamed = true;
    }
    // Qt's default in a Wayland session is Wayland, with X only where that fails; "xcb:…" carries
    // the plugin's options.
    const bool x11 = platform.empty() ? variable("WAYLAND_DISPLAY").empty()
                                      : platform == "xcb" || platform.compare(0, 4, "xcb:") == 0;
    if (!x11)
        return std::nullopt;
    if (display.empty())
        return displayNamed ? "the -display option names none" : "DISPLAY is not set";
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const bool failed = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    if (failed)
        return "\"" + display + "\" does not answer";
    return std::nullopt;
}

} // namespace bx

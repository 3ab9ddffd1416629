#pragma once
// Windows of other programs, by X11 window id: whether one still exists and the size of its
// client area. The preview and the host-screensaver modes ask this on every tick, so they see
// a host go within a tick or two.
#include <cstdint>
#include <optional>

#include "engine/saverworld.h"
#include "xcbconnection.h"

namespace bx {

class HostWindows {
public:
    virtual ~HostWindows() = default;
    // The client area of window id in pixels, or nothing when id names no window (any more).
    virtual std::optional<SurfaceSize> clientSize(int64_t id) = 0;
};

// Over an X connection of its own, so it works whatever Qt's platform plugin is. Without a
// display every id reads as no window.
class X11HostWindows : public HostWindows {
public:
    X11HostWindows();
    std::optional<SurfaceSize> clientSize(int64_t id) override;

private:
    XcbConnection xcb_;
};

} // namespace bx

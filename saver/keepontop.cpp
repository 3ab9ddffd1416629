#include "keepontop.h"

#include <QSocketNotifier>
#include <xcb/xcb.h>

namespace bx {

KeepOnTop::KeepOnTop(uint32_t window, QObject* parent)
    : QObject(parent), xcb_(connectToDisplay()), window_(window) {
    if (!xcb_)
        return;
    // Each client chooses its own events on a window: this leaves those of the window's owner be.
    const uint32_t mask = XCB_EVENT_MASK_VISIBILITY_CHANGE;
    xcb_change_window_attributes(xcb_.get(), window_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(xcb_.get());
    notifier_ = new QSocketNotifier(xcb_get_file_descriptor(xcb_.get()), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &KeepOnTop::readEvents);
    everySecond_.setInterval(1000);
    connect(&everySecond_, &QTimer::timeout, this, &KeepOnTop::raise);
    everySecond_.start();
}

void KeepOnTop::readEvents() {
    xcb_connection_t* c = xcb_.get();
    bool covered = false;
    while (const XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(c)})
        if ((event->response_type & 0x7f) == XCB_VISIBILITY_NOTIFY)
            covered = reinterpret_cast<const xcb_visibility_notify_event_t*>(event.get())->state !=
                      XCB_VISIBILITY_UNOBSCURED;
    if (xcb_connection_has_error(c)) {
        notifier_->setEnabled(false); // the server is gone: nothing more to read
        everySecond_.stop();
        return;
    }
    if (covered)
        raise();
}

void KeepOnTop::raise() {
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(xcb_.get(), window_, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(xcb_.get());
}

} // namespace bx

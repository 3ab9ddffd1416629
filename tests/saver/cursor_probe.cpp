// Tells whether the pointer is shown where it is now: prints "blank" when the cursor the server
// shows there has no visible pixel, "visible" otherwise.
//   saver_cursor_probe
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (!image) {
        std::fprintf(stderr, "no cursor image (XFixes missing?)\n");
        return 1;
    }
    bool visible = false;
    for (unsigned long i = 0; i < static_cast<unsigned long>(image->width) * image->height; ++i)
        visible = visible || (image->pixels[i] >> 24) != 0; // ARGB: any pixel not fully transparent
    std::puts(visible ? "visible" : "blank");
    XFree(image);
    XCloseDisplay(display);
    return 0;
}

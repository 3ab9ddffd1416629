#pragma once
// The surface a saver mode draws on, one type per kind: a window of the saver's own (the full
// screen, the configuration dialog's picture), a window put inside another program's (preview, a
// host screensaver's window) and the desktop's background. Each knows its size, its canvas, how
// its pixels reach the screen and the timer that steps the world on it.
#include <QTimer>
#include <memory>

#include "engine/canvas.h"
#include "engine/saverworld.h"

namespace bx {

class ListenWindow;
class RootSurface;
class SaverCanvas;
struct SaverModule;

class SaverSurface {
public:
    virtual ~SaverSurface() = default;
    // The drawing area in pixels; 0 × 0 while there is none.
    virtual SurfaceSize size() const = 0;
    // The pixels to paint on, or null: then nothing is painted.
    virtual Canvas* canvas() = 0;
    // Shows what was painted since the last frame, when a frame is due.
    virtual void flush() = 0;
    // Ticks while the world runs on this surface.
    virtual QTimer& timer() = 0;
};

// A widget of the saver's own and the timer that ticks for it: the full-screen window, the
// configuration dialog's picture.
class WidgetSurface : public SaverSurface {
public:
    WidgetSurface(SaverCanvas& widget, QTimer& timer) : widget_(widget), timer_(timer) {}
    SurfaceSize size() const override;
    Canvas* canvas() override;
    void flush() override;
    QTimer& timer() override { return timer_; }

private:
    SaverCanvas& widget_;
    QTimer& timer_;
};

// The listener's picture inside another program's window: nothing to draw on until it is there.
class EmbeddedSurface : public SaverSurface {
public:
    EmbeddedSurface(ListenWindow& listener, const SaverModule& module)
        : listener_(listener), module_(module) {}
    SurfaceSize size() const override;
    Canvas* canvas() override;
    void flush() override;
    QTimer& timer() override;

private:
    ListenWindow& listener_;
    const SaverModule& module_;
};

// The desktop's background, with a timer of its own (there is no window to hold one).
class DesktopSurface : public SaverSurface {
public:
    // `root` is a surface that reached the display (ok()).
    explicit DesktopSurface(std::unique_ptr<RootSurface> root);
    ~DesktopSurface() override; // the desktop's own background comes back
    SurfaceSize size() const override;
    Canvas* canvas() override;
    void flush() override;
    QTimer& timer() override { return timer_; }
    // The desktop's size is looked up again (a screen was added, taken away or rearranged).
    void updateSize();

private:
    std::unique_ptr<RootSurface> root_;
    QTimer timer_;
};

} // namespace bx

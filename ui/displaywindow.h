#pragma once
#include <QImage>
#include <QRect>
#include <QWidget>

#include "engine/canvas.h"
#include "platform/pixelcanvas.h"

namespace bx {

// What the display window's keys, mouse and close box ask for.
class DisplayEvents {
public:
    virtual ~DisplayEvents() = default;
    virtual void keyPressed(int characterCode) = 0;
    virtual void mousePressed() = 0;
    virtual void mouseMoved(double x, double y) = 0;
    virtual void closeRequested() = 0;
};

// The canvas the world is painted on. Painting goes into an image; the widget shows the part
// that changed when flush() runs, once a frame, so painting costs no per-square repaint.
class DisplayWindow : public QWidget, public Canvas {
    Q_OBJECT
public:
    DisplayWindow();
    // Who hears the keys, mouse and close box (nobody until set).
    void setEvents(DisplayEvents* events) { events_ = events; }

    void clear() override;
    void fillBox(double x1, double y1, double x2, double y2, PackedColour colour) override;
    // Shows what was painted since the last flush.
    void flush();
    // The painted pixels as an image that borrows them (valid until the next paint or resize).
    QImage view() const;
    // The image's colour at canvas pixel (x, y) as a packed colour (black outside).
    PackedColour pixelColour(int x, int y) const;

    // Full screen over the given screen area, and back to where the window was. The area is set
    // as well as the window state, so that it also works without a window manager.
    void enterFullScreen(const QRect& screenArea);
    void leaveFullScreen();

    // Ends the window for good (the program is ending): no close request is reported.
    void unload();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void moveEvent(QMoveEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void closeEvent(QCloseEvent*) override;

private:
    DisplayEvents* events_ = nullptr;
    // The canvas's own pixels, shown through view().
    PixelCanvas pixels_;
    // Where the window is between full-screen views, followed as it moves and resizes.
    void rememberNormalGeometry();
    QRect normalGeometry_;
    bool fullScreen_ = false;
    bool unloading_ = false;
};

} // namespace bx

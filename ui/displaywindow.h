#pragma once
#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>
#include <string_view>

#include "engine/canvas.h"
#include "platform/pixelcanvas.h"

namespace bx {

// What the display window's keys, mouse and close box ask for.
class DisplayEvents {
public:
    virtual ~DisplayEvents() = default;
    // A key by its name: the character it types, "F1", or "" for a key with neither.
    virtual void keyPressed(std::string_view keyName) = 0;
    virtual void mousePressed() = 0;
    virtual void mouseMoved(double x, double y) = 0;
    virtual void closeRequested() = 0;
};

// The canvas the world is painted on. It shows frames: the world's squares wait in the
// simulation's queue and go into an image when flush() runs, once a frame, and the widget shows
// the part that changed. A square that changes many times between frames is painted once, and a
// minimised window paints nothing.
class DisplayWindow : public QWidget, public Canvas {
    Q_OBJECT
public:
    DisplayWindow();
    // Who hears the keys, mouse and close box (nobody until set).
    void setEvents(DisplayEvents* events) { events_ = events; }
    // What paints the squares waiting for the next frame (nothing until set): run before the
    // canvas shows, reads or resizes its pixels.
    void setWaitingSquares(std::function<void()> paintWaiting) { paintWaiting_ = std::move(paintWaiting); }

    void clear() override;
    void fillBox(double x1, double y1, double x2, double y2, PackedColour colour) override;
    void paintSquare(int column, int row, int size, const Rgb& organism, const Rgb& environment,
                     bool showOrganisms, bool showEnvironment) override;
    void paintColumn(int column, int firstRow, const SquareColours* squares, int count, int size,
                     bool showOrganisms, bool showEnvironment) override;
    bool showsFrames() const override { return true; }
    // Shows what was painted since the last flush.
    void flush();
    // The painted pixels as an image that borrows them (valid until the next paint or resize).
    QImage view();
    // The image's colour at canvas pixel (x, y) as a packed colour (black outside).
    PackedColour pixelColour(int x, int y);

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
    std::function<void()> paintWaiting_;
    // Paints the squares waiting into the pixels.
    void paintQueued();
    // The canvas's own pixels, shown through view().
    PixelCanvas pixels_;
    // Where the window is between full-screen views, followed as it moves and resizes.
    void rememberNormalGeometry();
    QRect normalGeometry_;
    bool fullScreen_ = false;
    bool unloading_ = false;
};

} // namespace bx

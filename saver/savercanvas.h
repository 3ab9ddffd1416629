#pragma once
// A widget the saver paints on: its own pixels (PixelCanvas) the size of the widget, brought to
// the screen by flush() at most 60 times a second (the world goes on at a column a tick; the
// screen need not show every one). Black until the sweep paints.
#include <QElapsedTimer>
#include <QWidget>

#include "platform/pixelcanvas.h"

namespace bx {

class SaverCanvas : public QWidget {
    Q_OBJECT
public:
    explicit SaverCanvas(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    // The pixels, sized to the widget (also before it was first shown).
    PixelCanvas& canvas();
    const PixelCanvas& pixels() const { return pixels_; }
    // Shows what was painted since the last frame, when a frame is due.
    void flush();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    PixelCanvas pixels_;
    QElapsedTimer lastFrame_;
};

} // namespace bx

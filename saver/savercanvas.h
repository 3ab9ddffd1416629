#pragma once
// A widget the saver paints on: its own pixels (PixelCanvas) the size of the widget, shown once
// per tick by flush(). Black until the sweep paints.
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
    // Shows what was painted since the last flush.
    void flush();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    PixelCanvas pixels_;
};

} // namespace bx

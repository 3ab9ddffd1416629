#include "savercanvas.h"

#include <QPaintEvent>
#include <QPainter>

namespace bx {

SaverCanvas::SaverCanvas(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

PixelCanvas& SaverCanvas::canvas() {
    pixels_.resize(width(), height());
    return pixels_;
}

void SaverCanvas::flush() {
    if (lastFrame_.isValid() && lastFrame_.elapsed() < 16)
        return; // what was painted waits for the next frame
    const QRect dirty = pixels_.takeDirty();
    if (dirty.isEmpty())
        return;
    update(dirty);
    lastFrame_.start();
}

void SaverCanvas::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    paintPixels(p, pixels_, e->rect());
}

void SaverCanvas::resizeEvent(QResizeEvent*) {
    pixels_.resize(width(), height());
}

} // namespace bx

#include "previewbox.h"

#include <QPainter>

namespace bx {

QColor qColourOf(PackedColour c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

PreviewBox::PreviewBox(QWidget* parent) : QWidget(parent), image_(62, 62, QImage::Format_RGB32) {
    setObjectName("preview");
    setFixedSize(image_.size());
    image_.fill(Qt::black);
}

void PreviewBox::showColours(PackedColour organism, PackedColour environment) {
    if (shown_ && *shown_ == std::pair{organism, environment})
        return; // a read-out refreshed with the same colours repaints nothing
    shown_ = {organism, environment};
    QPainter p(&image_);
    // Boxes from (1, 1) to (60, 60) and (1, 1) to (30, 30), both corners included.
    p.fillRect(QRect(QPoint(1, 1), QPoint(60, 60)), qColourOf(organism));
    p.fillRect(QRect(QPoint(1, 1), QPoint(30, 30)), qColourOf(environment));
    update();
}

void PreviewBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

} // namespace bx

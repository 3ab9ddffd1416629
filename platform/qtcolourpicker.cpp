#include "platform/qtcolourpicker.h"

#include <QApplication>
#include <QColorDialog>

namespace bx {

std::optional<int32_t> QtColourPicker::pick(int32_t initial) {
    const QColor start(initial & 0xff, (initial >> 8) & 0xff, (initial >> 16) & 0xff);
    QColorDialog dialog(start, QApplication::activeWindow());
    dialog.setObjectName("colourdialog");
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QColor c = dialog.selectedColor();
    return c.red() + 256 * c.green() + 65536 * c.blue();
}

} // namespace bx

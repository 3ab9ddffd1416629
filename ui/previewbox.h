#pragma once
#include <QImage>
#include <QWidget>
#include <optional>
#include <utility>

#include "engine/colour.h"

namespace bx {

// The current-square colour sample: the organism colour as a 60-pixel square with the
// environment colour in its top-left quarter, black where a layer is absent.
class PreviewBox : public QWidget {
    Q_OBJECT
public:
    explicit PreviewBox(QWidget* parent = nullptr);

    void showColours(PackedColour organism, PackedColour environment);
    void clearColours() { showColours(0, 0); }
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage image_;
    std::optional<std::pair<PackedColour, PackedColour>> shown_;
};

QColor qColourOf(PackedColour colour);

} // namespace bx

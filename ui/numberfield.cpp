#include "numberfield.h"

#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>
#include <QSlider>

namespace bx {

DecimalMark typedDecimalMark() {
    return QLocale().decimalPoint() == QStringLiteral(",") ? DecimalMark::PointOrComma : DecimalMark::Point;
}

NumberField::NumberField(OptionTextBox kind, const ValidationContext& context, QLineEdit* box,
                         QSlider* slider, QObject* parent)
    : QObject(parent), kind_(kind), context_(context), box_(box), slider_(slider) {
    if (slider_) {
        const OptionField& option = optionOfTextBox(kind_);
        slider_->setRange(option.minimum, option.maximum);
    }
    connect(box_, &QLineEdit::textChanged, this, &NumberField::textChanged);
    if (slider_)
        connect(slider_, &QSlider::valueChanged, this, &NumberField::sliderMoved);
}

void NumberField::setSliderValue(int value) {
    if (!slider_)
        return;
    const QSignalBlocker quiet(slider_);
    slider_->setValue(value);
}

void NumberField::setText(const QString& text) {
    if (box_->text() == text)
        textChanged(); // unchanged text sends no signal, but the handler still runs
    else
        box_->setText(text);
}

void NumberField::textChanged() {
    if (!box_->isEnabled())
        return; // a disabled box keeps what it was given, such as "Full"
    const QByteArray text = box_->text().toUtf8();
    const ValidatedText result =
        validateText(kind_, std::string_view(text.constData(), size_t(text.size())), context_.stored,
                     context_.screen.widthPixels(), context_.screen.heightPixels(), context_.mark);
    const QString corrected = QString::fromStdString(result.text);
    if (corrected != box_->text()) {
        const QSignalBlocker quiet(box_);
        box_->setText(corrected);
    }
    setSliderValue(result.sliderValue);
}

void NumberField::sliderMoved(int value) {
    if (optionOfTextBox(kind_).control.kind == ControlKind::GridSize) {
        const int capped = gridSliderValue(value);
        if (capped != value)
            setSliderValue(capped);
        value = capped;
    }
    setText(QString::number(value));
}

} // namespace bx

#include "numberfield.h"

#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>
#include <QSlider>

namespace bx {

DecimalMark typedDecimalMark() {
    return QLocale().decimalPoint() == QStringLiteral(",") ? DecimalMark::PointOrComma : DecimalMark::Point;
}

namespace {

QString nameOf(std::string_view name) {
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

} // namespace

NumberField::NumberField(int SimulationOptions::*option, const ValidationContext& context, QObject* parent,
                         int boxWidth)
    : QObject(parent), option_(optionOf(option)), context_(context), box_(new QLineEdit), slider_(nullptr) {
    box_->setObjectName(nameOf(option_.control.objectName));
    box_->setFixedWidth(boxWidth);
    if (!option_.control.sliderName.empty()) {
        slider_ = new QSlider(Qt::Horizontal);
        slider_->setObjectName(nameOf(option_.control.sliderName));
        slider_->setMinimumWidth(160);
        slider_->setRange(option_.minimum, option_.maximum);
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
        validateText(option_, std::string_view(text.constData(), size_t(text.size())), context_.stored,
                     context_.screen.widthPixels(), context_.screen.heightPixels(), context_.mark);
    const QString corrected = QString::fromStdString(result.text);
    if (corrected != box_->text()) {
        const QSignalBlocker quiet(box_);
        box_->setText(corrected);
    }
    setSliderValue(result.sliderValue);
}

void NumberField::sliderMoved(int value) {
    if (option_.control.kind == ControlKind::GridSize) {
        const int capped = gridSliderValue(value);
        if (capped != value)
            setSliderValue(capped);
        value = capped;
    }
    setText(QString::number(value));
}

} // namespace bx

#pragma once
// A number box of the options window with its slider: the box corrects itself silently on every
// change of its text while it is enabled, and the slider follows the box; a slider moved by the
// user writes its value into the box.
#include <QObject>

#include "engine/options.h"
#include "options/validation.h"
#include "platform/screen.h"

class QLineEdit;
class QSlider;

namespace bx {

// What the boxes check against: the record's current values and the screen size; and what the
// user's locale lets them type for the decimal point.
struct ValidationContext {
    const SimulationOptions& stored;
    const ScreenMetrics& screen;
    DecimalMark mark = DecimalMark::Point;
};

// The decimal marks of the user's locale (QLocale's default): a comma too where it is the point.
DecimalMark typedDecimalMark();

class NumberField : public QObject {
    Q_OBJECT
public:
    // The number box of an option, and its slider when the option table names one; both are
    // named and bounded from the table. The box is boxWidth pixels wide.
    NumberField(int SimulationOptions::*option, const ValidationContext& context, QObject* parent,
                int boxWidth = 56);

    QLineEdit* box() const { return box_; }
    QSlider* slider() const { return slider_; } // null when the option has none
    // Sets the slider from code: its own handler does not run.
    void setSliderValue(int value);
    // Sets the box's text from code; the box's handler runs as if the user had typed it.
    void setText(const QString& text);
    // The slider's handler, run when the user moves it: the value goes into the box (a grid
    // slider first sets itself back to 100 from above).
    void sliderMoved(int value);

private:
    void textChanged();

    const OptionField& option_;
    ValidationContext context_;
    QLineEdit* box_;
    QSlider* slider_;
};

} // namespace bx

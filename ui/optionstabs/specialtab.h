#pragma once
// Page 4, "Special Options": running options and prompts, asteroids and mutations.
#include <QGroupBox>

#include "ui/numberfield.h"

class QCheckBox;

namespace bx {

class SpecialTab : public QGroupBox {
    Q_OBJECT
public:
    explicit SpecialTab(const ValidationContext& context);

    QCheckBox *blendOnOvertakeBox, *promptOnResetBox, *promptOnDeathBox, *promptOnDefaultsBox,
        *promptOnSaveBox;
    QCheckBox *asteroidsBox, *mutationsBox;
    NumberField *asteroidFrequency, *mutationFrequency;

private:
    QGroupBox* buildFrequency(const char* frameName, const char* caption, QCheckBox* check,
                              NumberField* field);
};

} // namespace bx

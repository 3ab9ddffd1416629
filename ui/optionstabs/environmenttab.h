#pragma once
// Page 3, "Environment Options": the environment colour scheme, the start mode and the start
// environments.
#include <QGroupBox>

#include "ui/colourschemes.h"
#include "ui/numberfield.h"

class QRadioButton;

namespace bx {

class EnvironmentTab : public QGroupBox {
    Q_OBJECT
public:
    EnvironmentTab(const ValidationContext& context, ColourPicker& picker);

    ColourSchemeBox* colours;                                       // Frame8
    QRadioButton *randomStart, *fullStart, *idealStart, *noneStart; // Random, Full, Ideal, None
    NumberField* startEnvironments;
};

} // namespace bx

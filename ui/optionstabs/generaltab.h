#pragma once
// Page 1, "General Options": world setup rates and the grid size.
#include <QGroupBox>

#include "ui/numberfield.h"

class QLineEdit;

namespace bx {

class GeneralTab : public QGroupBox {
    Q_OBJECT
public:
    explicit GeneralTab(const ValidationContext& context);

    NumberField *gridSizeX, *gridSizeY; // shown and taken by hand: the screen bounds them too
    QLineEdit *screenWidthBox, *screenHeightBox;

private:
    QGroupBox* buildWorldSetup(const ValidationContext& context);
    QGroupBox* buildGridSize(const ValidationContext& context);
};

} // namespace bx

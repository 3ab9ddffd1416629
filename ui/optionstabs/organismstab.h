#pragma once
// Page 2, "Organism Options": the organism colour scheme and the start organisms.
#include <QGroupBox>

#include "ui/colourschemes.h"
#include "ui/numberfield.h"

class QCheckBox;

namespace bx {

class OrganismsTab : public QGroupBox {
    Q_OBJECT
public:
    OrganismsTab(const ValidationContext& context, ColourPicker& picker);

    ColourSchemeBox* colours; // Frame4
    NumberField* startOrganisms;
    QCheckBox* fullOrganismsBox;
};

} // namespace bx

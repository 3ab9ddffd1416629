#include "organismstab.h"

#include <QHBoxLayout>
#include <QRadioButton>

#include "formparts.h"

namespace bx {

using namespace form;

OrganismsTab::OrganismsTab(const ValidationContext& context, ColourPicker& picker)
    : QGroupBox("Organism Options") {
    setObjectName("f2");
    colours = new ColourSchemeBox("Frame4", true, picker);
    auto* frame = named(new QGroupBox("Org&anisms"), "Frame3");
    auto* grid = new QGridLayout(frame);
    startOrganisms = new NumberField(&SimulationOptions::startOrganisms, context, this);
    addSliderRow(grid, 0, "Start Organisms:", startOrganisms);
    fullOrganismsBox = checkBox(&SimulationOptions::fullOrganisms, "Full");
    grid->addWidget(fullOrganismsBox, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    frame->setFocusProxy(startOrganisms->box());
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(colours);
    layout->addWidget(frame, 1);
}

} // namespace bx

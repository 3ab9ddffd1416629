#include "environmenttab.h"

#include <QHBoxLayout>
#include <QRadioButton>

#include "formparts.h"

namespace bx {

using namespace form;

EnvironmentTab::EnvironmentTab(const ValidationContext& context, ColourPicker& picker)
    : QGroupBox("Environment Options") {
    setObjectName("f3");
    colours = new ColourSchemeBox("Frame8", false, picker);
    auto* frame = named(new QGroupBox("En&vironments"), "Frame2");
    auto* grid = new QGridLayout(frame);
    randomStart = named(new QRadioButton("Random"), "Option1");
    fullStart = named(new QRadioButton("Full"), "Option2");
    idealStart = named(new QRadioButton("Ideal"), "Option3");
    noneStart = named(new QRadioButton("None"), "Option4");
    grid->addWidget(randomStart, 0, 0);
    grid->addWidget(fullStart, 0, 1);
    grid->addWidget(idealStart, 1, 0);
    grid->addWidget(noneStart, 1, 1);
    startEnvironments = new NumberField(&SimulationOptions::startEnvironments, context, this);
    addSliderRow(grid, 2, "Start Environments:", startEnvironments);
    grid->setRowStretch(4, 1);
    frame->setFocusProxy(randomStart);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(colours);
    layout->addWidget(frame, 1);
}

} // namespace bx

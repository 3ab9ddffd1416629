#include "generaltab.h"

#include <QVBoxLayout>

#include "formparts.h"

namespace bx {

using namespace form;

GeneralTab::GeneralTab(const ValidationContext& context) : QGroupBox("General Options") {
    setObjectName("f1");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildWorldSetup(context));
    layout->addWidget(buildGridSize(context));
    layout->addStretch(1);
}

QGroupBox* GeneralTab::buildWorldSetup(const ValidationContext& context) {
    auto* frame = named(new QGroupBox("&World Setup Options"), "Frame6");
    auto* grid = new QGridLayout(frame);
    using O = SimulationOptions;
    auto* growth = new NumberField(&O::growthRate, context, this);
    addSliderRow(grid, 0, "World growth rate:", growth);
    addSliderRow(grid, 2, "World decay rate:", new NumberField(&O::decayRate, context, this));
    addSliderRow(grid, 4,
                 "Environment startup decay:", new NumberField(&O::environmentStartDecay, context, this));
    grid->addWidget(checkBox(&O::environmentBlending, "Environmental blending"), 6, 0, 1, 2);
    frame->setFocusProxy(growth->box());
    return frame;
}

QGroupBox* GeneralTab::buildGridSize(const ValidationContext& context) {
    auto* frame = named(new QGroupBox("Grid Si&ze"), "Frame1");
    auto* grid = new QGridLayout(frame);
    gridSizeX = new NumberField(&SimulationOptions::gridSizeX, context, this);
    gridSizeY = new NumberField(&SimulationOptions::gridSizeY, context, this);
    grid->addWidget(gridSizeX->box(), 0, 0);
    grid->addWidget(gridSizeX->slider(), 0, 1);
    grid->addWidget(new QLabel("by"), 1, 0, 1, 2, Qt::AlignCenter);
    grid->addWidget(gridSizeY->box(), 2, 0);
    grid->addWidget(gridSizeY->slider(), 2, 1);
    screenWidthBox = textBox("screensizextext");
    screenHeightBox = textBox("screensizeytext");
    screenWidthBox->setReadOnly(true);
    screenHeightBox->setReadOnly(true);
    auto* screen = new QHBoxLayout;
    screen->addWidget(new QLabel("Maximum Screen Size:"));
    screen->addWidget(screenWidthBox);
    screen->addWidget(new QLabel("by"));
    screen->addWidget(screenHeightBox);
    screen->addStretch(1);
    grid->addLayout(screen, 3, 0, 1, 2);
    frame->setFocusProxy(gridSizeX->box());
    return frame;
}

} // namespace bx

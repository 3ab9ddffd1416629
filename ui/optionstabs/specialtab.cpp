#include "specialtab.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "formparts.h"

namespace bx {

using namespace form;

SpecialTab::SpecialTab(const ValidationContext& context) : QGroupBox("Special Options") {
    setObjectName("f4");
    using O = SimulationOptions;
    auto* running = named(new QGroupBox("Running op&tions"), "Frame7");
    auto* checks = new QVBoxLayout(running);
    QCheckBox* first = checkBox(&O::blendOnOvertake, "Blend squares on overtake");
    for (QCheckBox* c : {first, checkBox(&O::promptOnReset, "Prompt on simulation reset"),
                         checkBox(&O::promptOnDeath, "Prompt on simulation death"),
                         checkBox(&O::promptOnDefaults, "Prompt on reset to default options"),
                         checkBox(&O::promptOnSave, "Prompt on save options")})
        checks->addWidget(c);
    checks->addStretch(1);
    running->setFocusProxy(first);

    auto* frequencies = new QVBoxLayout;
    frequencies->addWidget(buildFrequency("Frame5", "&Asteroids", checkBox(&O::asteroidsOn, "Asteroids"),
                                          new NumberField(&O::asteroidFrequency, context, this, 96)));
    frequencies->addWidget(buildFrequency("Frame9", "M&utations", checkBox(&O::mutationsOn, "Mutations"),
                                          new NumberField(&O::mutationFrequency, context, this, 96)));
    frequencies->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(running, 1);
    layout->addLayout(frequencies);
}

QGroupBox* SpecialTab::buildFrequency(const char* frameName, const char* caption, QCheckBox* check,
                                      NumberField* field) {
    auto* frame = named(new QGroupBox(caption), frameName);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(check, 0, 0);
    grid->addWidget(new QLabel("Frequency: ( 1 in x )"), 1, 0);
    grid->addWidget(field->box(), 2, 0);
    frame->setFocusProxy(check);
    connect(check, &QCheckBox::toggled, field->box(), &QWidget::setEnabled);
    frequencyChecks_.push_back({check, field});
    return frame;
}

void SpecialTab::enableFrequencies() {
    for (auto [check, field] : frequencyChecks_)
        field->box()->setEnabled(check->isChecked());
}

} // namespace bx

#include "specialtab.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "formparts.h"

namespace bx {

using namespace form;

SpecialTab::SpecialTab(const ValidationContext& context) : QGroupBox("Special Options") {
    setObjectName("f4");
    auto* running = named(new QGroupBox("Running op&tions"), "Frame7");
    auto* checks = new QVBoxLayout(running);
    blendOnOvertakeBox = checkBox("blendonovertake", "Blend squares on overtake");
    promptOnResetBox = checkBox("preset", "Prompt on simulation reset");
    promptOnDeathBox = checkBox("pdeath", "Prompt on simulation death");
    promptOnDefaultsBox = checkBox("pdefault", "Prompt on reset to default options");
    promptOnSaveBox = checkBox("psave", "Prompt on save options");
    for (QCheckBox* c :
         {blendOnOvertakeBox, promptOnResetBox, promptOnDeathBox, promptOnDefaultsBox, promptOnSaveBox})
        checks->addWidget(c);
    checks->addStretch(1);
    running->setFocusProxy(blendOnOvertakeBox);

    asteroidsBox = checkBox("asteroidscheck", "Asteroids");
    mutationsBox = checkBox("mutationcheck", "Mutations");
    asteroidFrequency = new NumberField(OptionTextBox::AsteroidFrequency, context,
                                        textBox("asteroidstext", 96), nullptr, this);
    mutationFrequency = new NumberField(OptionTextBox::MutationFrequency, context,
                                        textBox("mutationtext", 96), nullptr, this);
    auto* frequencies = new QVBoxLayout;
    frequencies->addWidget(buildFrequency("Frame5", "&Asteroids", asteroidsBox, asteroidFrequency));
    frequencies->addWidget(buildFrequency("Frame9", "M&utations", mutationsBox, mutationFrequency));
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
    return frame;
}

} // namespace bx

#include "screensavertab.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "formparts.h"

namespace bx {

using namespace form;

ScreensaverTab::ScreensaverTab() : QGroupBox("Screensaver Options") {
    setObjectName("f5");
    Command5 = named(new QPushButton("&Test Screensaver"), "Command5");
    Command6 = named(new QPushButton("Screensaver &Help"), "Command6");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command5);
    buttons->addWidget(Command6);
    buttons->addStretch(1);

    auto* running = named(new QGroupBox("R&unning Options"), "Frame11");
    auto* size = new QHBoxLayout(running);
    Slider1 = slider("Slider1", 2, 25);
    Slider1->setValue(6);
    Label13 = named(new QLabel("6"), "Label13");
    Label13->setMinimumWidth(24);
    size->addWidget(new QLabel("Square Size:"));
    size->addWidget(Slider1, 1);
    size->addWidget(Label13);
    running->setFocusProxy(Slider1);
    // The value label follows the slider; storing the size belongs to the screensaver code.
    connect(Slider1, &QSlider::valueChanged, Label13, [this](int value) { Label13->setNum(value); });

    auto* status = named(new QGroupBox("Screensa&ver Status"), "Frame10");
    auto* grid = new QGridLayout(status);
    Command3 = named(new QPushButton("Install"), "Command3");
    Command4 = named(new QPushButton("Activate"), "Command4");
    Label12 = named(new QLabel("Not Installed"), "Label12");
    Label11 = named(new QLabel("Not Active"), "Label11");
    grid->addWidget(Command3, 0, 0);
    grid->addWidget(Label12, 0, 1);
    grid->addWidget(Command4, 1, 0);
    grid->addWidget(Label11, 1, 1);
    grid->setColumnStretch(1, 1);
    status->setFocusProxy(Command3);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(running);
    layout->addWidget(status);
    layout->addStretch(1);
}

} // namespace bx

#include "screensavertab.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "formparts.h"

namespace bx {

using namespace form;

ScreensaverTab::ScreensaverTab() : QGroupBox("Screensaver Options") {
    setObjectName("f5");
    testButton = named(new QPushButton("&Test Screensaver"), "Command5");
    helpButton = named(new QPushButton("Screensaver &Help"), "Command6");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(testButton);
    buttons->addWidget(helpButton);
    buttons->addStretch(1);

    auto* running = named(new QGroupBox("R&unning Options"), "Frame11");
    auto* size = new QHBoxLayout(running);
    squareSizeSlider = slider("Slider1", 2, 25);
    squareSizeSlider->setValue(6);
    squareSizeLabel = named(new QLabel("6"), "Label13");
    squareSizeLabel->setMinimumWidth(24);
    size->addWidget(new QLabel("Square Size:"));
    size->addWidget(squareSizeSlider, 1);
    size->addWidget(squareSizeLabel);
    running->setFocusProxy(squareSizeSlider);
    // The value label follows the slider; storing the size belongs to the screensaver code.
    connect(squareSizeSlider, &QSlider::valueChanged, this, [this](int value) {
        squareSizeLabel->setNum(value);
        emit squareSizeMoved(value);
    });

    auto* status = named(new QGroupBox("Screensa&ver Status"), "Frame10");
    auto* grid = new QGridLayout(status);
    installButton = named(new QPushButton("Install"), "Command3");
    activateButton = named(new QPushButton("Activate"), "Command4");
    installedLabel = named(new QLabel("Not Installed"), "Label12");
    activeLabel = named(new QLabel("Not Active"), "Label11");
    grid->addWidget(installButton, 0, 0);
    grid->addWidget(installedLabel, 0, 1);
    grid->addWidget(activateButton, 1, 0);
    grid->addWidget(activeLabel, 1, 1);
    grid->setColumnStretch(1, 1);
    status->setFocusProxy(installButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(running);
    layout->addWidget(status);
    layout->addStretch(1);
    connect(installButton, &QPushButton::clicked, this, [this] {
        if (removable_)
            emit uninstallRequested();
        else
            emit installRequested();
    });
    connect(activateButton, &QPushButton::clicked, this, &ScreensaverTab::activateRequested);
    connect(testButton, &QPushButton::clicked, this, &ScreensaverTab::testRequested);
    connect(helpButton, &QPushButton::clicked, this, &ScreensaverTab::helpRequested);
}

void ScreensaverTab::showSquareSize(int size) {
    {
        const QSignalBlocker quiet(squareSizeSlider);
        squareSizeSlider->setValue(size);
    }
    squareSizeLabel->setNum(squareSizeSlider->value());
}

void ScreensaverTab::showInstalled(bool installed, bool removable) {
    removable_ = installed && removable;
    installedLabel->setText(installed ? "Installed" : "Not Installed");
    installButton->setText(removable_ ? "Uninstall" : "Install");
    installButton->setEnabled(!installed || removable_);
}

void ScreensaverTab::showActive(bool active) {
    activeLabel->setText(active ? "Active" : "Not Active");
    activateButton->setEnabled(!active);
}

} // namespace bx

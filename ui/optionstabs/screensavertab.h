#pragma once
// Page 5, "Screensaver Options": the screensaver's square size, its test and help buttons and
// its installation status. The install, activate, test and help actions are connected by the
// screensaver installation code; this page only lays them out.
#include <QGroupBox>

class QLabel;
class QPushButton;
class QSlider;

namespace bx {

// What the options window asks of the screensaver code: store the chosen square size (before OK
// is handled) and refresh the page's status when the page is shown. Until that code is connected
// nothing happens.
class ScreensaverPageActions {
public:
    virtual ~ScreensaverPageActions() = default;
    virtual void sssave() {}
    virtual void ssrefresh() {}
};

class ScreensaverTab : public QGroupBox {
    Q_OBJECT
public:
    ScreensaverTab();

    QPushButton *testButton, *helpButton;        // "&Test Screensaver", "Screensaver &Help"
    QSlider* squareSizeSlider;                   // square size 2 .. 25
    QLabel* squareSizeLabel;                     // the slider's value
    QPushButton *installButton, *activateButton; // "Install", "Activate"
    QLabel *installedLabel, *activeLabel;        // installed and active state
};

} // namespace bx

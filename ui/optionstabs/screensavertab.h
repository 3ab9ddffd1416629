#pragma once
// Page 5, "Screensaver Options": the screensaver's square size, its test and help buttons and
// its installation status. The page lays them out and shows what it is told; the install,
// activate, test and help actions are the screensaver code's.
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

    // The square size (2 .. 25) as stored, set without being reported as moved.
    void showSquareSize(int size);
    // The installed and active state, each with its button enabled while there is work for it.
    // An install of the user's own (removable) turns Install into Uninstall.
    void showInstalled(bool installed, bool removable = false);
    void showActive(bool active);

signals:
    // The user moved the square-size slider.
    void squareSizeMoved(int size);
    void installRequested();
    void uninstallRequested();
    void activateRequested();
    void testRequested();
    void helpRequested();

private:
    QPushButton *testButton, *helpButton;        // "&Test Screensaver", "Screensaver &Help"
    QSlider* squareSizeSlider;                   // square size 2 .. 25
    QLabel* squareSizeLabel;                     // the slider's value
    QPushButton *installButton, *activateButton; // "Install" (or "Uninstall"), "Activate"
    bool removable_ = false;                     // installButton reads "Uninstall"
    QLabel *installedLabel, *activeLabel;        // installed and active state
};

} // namespace bx

#pragma once
#include <QMainWindow>

#include "profilemenu.h"

class QAction;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QSlider;
class QTimer;

namespace bx {

class PreviewBox;

// The control panel. Builds every control with its name, caption, access key, menu entry and
// shortcut; what the commands do is connected by the simulator application.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow();

    // Shows profile captions on the Profiles menu's quick entries (see showQuickProfiles).
    void setProfileNames(const QStringList& captions);

    // Controls by their names.
    QPushButton *resetButton, *saveButton, *loadButton, *startButton;
    QPushButton *simulationButton, *maximizeButton, *organismsButton, *environmentButton;
    QSlider *squareSizeSlider, *slowdownSlider;
    QLabel *squareSizeLabel, *slowdownLabel;
    PreviewBox* colourSample;
    QLabel *squareLabel, *organismRedLabel, *organismGreenLabel, *organismBlueLabel, *environmentRedLabel,
        *environmentGreenLabel, *environmentBlueLabel;
    QLabel *generationLabel, *organismsLabel, *environmentsLabel;
    QLabel *versionLabel, *banner;
    QListWidget* profileList;
    QTimer* tickTimer;

    // Menus and their entries.
    QMenu *programMenu, *simulationMenu, *viewMenu, *optionsMenu, *profilesMenu;
    QAction *helpWindowItem, *helpContentsItem, *helpSearchItem, *savePictureItem, *aboutItem, *quitItem;
    QAction *startItem, *stepItem, *resetItem;
    QAction *refreshItem, *simulationItem, *environmentItem, *organismsItem, *maximizeItem, *statisticsItem;
    QAction* optionsItem;
    QAction *loadItem, *saveItem, *defaultsItem, *moreProfilesItem;
    QuickProfileItems profileItems{};
    QAction *defaultsSeparator, *moreProfilesSeparator;

signals:
    // The close box or the system menu asked the window to close: the program ends.
    void unloadRequested();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    QWidget* buildControls();
    QGroupBox* buildSimulationControls();
    QGroupBox* buildGraphicControls();
    QGroupBox* buildSquareSize();
    QGroupBox* buildSlowdown();
    QGroupBox* buildCurrentSquare();
    QGroupBox* buildInformation();
    void buildMenus();
};

} // namespace bx

#pragma once
#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <map>

#include "commandsenders.h"
#include "engine/readout.h"
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
// shortcut, and shows what it is told; what the commands do is connected by the simulator
// application.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow();

    // What the panel's buttons and menu entries ask for; several controls may give one command.
    enum class Command {
        StartStop,
        Step,
        Reset,
        ShowSimulation,
        FullScreen,
        Organisms,
        Environment,
        Refresh,
        Statistics,
        SavePicture,
        About,
        Quit,
        HelpWindow,
        HelpContents,
        HelpSearch,
        Options,
        LoadProfile,
        SaveProfile,
        Defaults,
    };
    // Runs `action` whenever one of the command's controls is used.
    void onCommand(Command command, const std::function<void()>& action);

    // The tick timer wakes the simulation every few milliseconds while ticking (tickDue).
    void setTicking(bool ticking);

    void showVersion(const QString& version);
    void showCounters(int32_t generation, int32_t organisms, int32_t environments);
    // The square under the mouse: its position, colour values and colour sample; or nothing.
    void showReadout(const Readout& readout);
    void clearReadout();
    // The start/stop captions; a running simulation has no single step to take.
    void showRunning(bool running);
    // Start and save are locked while a world is being created, and so is refresh.
    void setCreationCommandsEnabled(bool enabled);
    // The hide/show captions of the canvas and its two layers.
    void showSimulationShown(bool shown);
    void showOrganismsShown(bool shown);
    void showEnvironmentShown(bool shown);
    // The square-size slider's setting (1 .. 8) and the slowdown (-5 .. 5), set from the code
    // without being reported as moved.
    int squareSizeSetting() const;
    void setSquareSizeSetting(int setting);
    void showSlowdown(int slowdown);

    // Shows profile captions on the Profiles menu's quick entries (see showQuickProfiles).
    void setProfileNames(const QStringList& captions);
    // The files of the Profiles folder, in the (hidden) file list.
    void setProfileFiles(const QStringList& files);

signals:
    // The close box or the system menu asked the window to close: the program ends.
    void unloadRequested();
    void tickDue();
    // The user moved a slider.
    void squareSizeMoved(int setting);
    void slowdownMoved(int slowdown);
    // A quick profile entry, by the number in its name (2 .. 8).
    void quickProfileChosen(int index);

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
    void listCommands();
    void connectControls();

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

    std::map<Command, CommandSenders> commands_;
};

} // namespace bx

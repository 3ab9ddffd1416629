#pragma once
#include <QMainWindow>

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

    // Controls by their names.
    QPushButton *resetsim, *savesim, *loadsim, *startsim;
    QPushButton *swapsim, *maxi, *switchorg, *switchenv;
    QSlider *Slider1, *slowdownslider;
    QLabel *sizelabel, *slowdowntext;
    PreviewBox* preview;
    QLabel *csquare, *orgred, *orggreen, *orgblue, *envred, *envgreen, *envblue;
    QLabel *generation, *orgs, *envs;
    QLabel *versionlabel, *Picture1;
    QListWidget* File1;
    QTimer* Timer1;

    // Menus and their entries.
    QMenu *program, *simulation, *sep2, *options, *profmenu;
    QAction *help, *help2menu, *help4menu, *about, *quit;
    QAction *start, *reset;
    QAction *refreshmenu, *hidesim, *switchenvmenu, *switchorgmenu, *maximize;
    QAction* options2;
    QAction *load, *save, *defmenu, *moreprof;
    QAction* profileItems[7]; // profile2 .. profile8
    QAction *sep3, *sep8;

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

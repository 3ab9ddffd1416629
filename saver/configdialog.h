#pragma once
// fConfig: the saver's configuration dialog. The square size is chosen with Slider1 (2 … 25);
// a live preview runs in picView and is rebuilt at the new size on every slider move; OK
// stores the size, Cancel does not.
#include <QDialog>
#include <QTimer>

#include "platform/help.h"
#include "savercanvas.h"
#include "saverinstall/settingsstore.h"
#include "saverstate.h"

class QAction;
class QLabel;
class QPushButton;
class QSlider;

namespace bx {

class ConfigDialog : public QDialog {
    Q_OBJECT
public:
    ConfigDialog(SaverModule& module, SettingsStore& settings, HelpService& help, std::string helpFile,
                 QWidget* parent = nullptr);

    double osize = 6; // as loaded from the settings store, and as stored by OK
    double nsize = 6; // as chosen with the slider

    QSlider* Slider1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* versionlabel;
    SaverCanvas* picView;
    QTimer* Timer1;
    QPushButton* cmdOK;
    QPushButton* Command1;
    QAction* helpmenu;
    QAction* aboutmenu;
    QAction* okmenu;
    QAction* canmenu;

signals:
    void tick();           // Timer1: step the world on picView
    void aboutRequested(); // aboutmenu

private:
    void loadStoredSize();
    void sliderMoved();
    void rsize();
    void accept() override; // cmdOK and okmenu: store, then close
    SaverModule& module_;
    SettingsStore& settings_;
    HelpService& help_;
    std::string helpFile_;
};

} // namespace bx

#pragma once
// fConfig: the saver's configuration dialog. The square size is chosen with squareSizeSlider (2 … 25);
// a live preview runs in preview and is rebuilt at the new size on every slider move; OK
// stores the size, Cancel does not.
#include <QDialog>
#include <QTimer>

#include "platform/help.h"
#include "savercanvas.h"
#include "saverinstall/settingsstore.h"
#include "saverstate.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenuBar;
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

    QSlider* squareSizeSlider;
    QLabel* squareSizeCaption;
    QLabel* titleLabel;
    QLabel* squareSizeLabel;
    QLabel* versionLabel;
    SaverCanvas* preview;
    QTimer* tickTimer;
    QPushButton* okButton;
    QPushButton* cancelButton;
    QAction* helpItem;
    QAction* aboutItem;
    QAction* acceptItem;
    QAction* cancelItem;

signals:
    void tick();           // tickTimer: step the world on preview
    void aboutRequested(); // aboutItem

private:
    QMenuBar* buildMenus();
    void setUpControls();
    QWidget* previewPicture();
    QGroupBox* squareSizeFrame();
    void connectCommands();
    void layOut(QMenuBar* menuBar, QWidget* picture, QGroupBox* sizeFrame);
    void loadStoredSize();
    void sliderMoved();
    void rsize();
    void accept() override; // okButton and acceptItem: store, then close
    SaverModule& module_;
    SettingsStore& settings_;
    HelpService& help_;
    std::string helpFile_;
};

} // namespace bx

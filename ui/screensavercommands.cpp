#include "screensavercommands.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "engine/numeric.h"
#include "saverinstall/squaresetting.h"

namespace bx {

ScreensaverCommands::ScreensaverCommands(ScreensaverTab& page, const SimulationOptions& options,
                                         SettingsStore& settings, SystemFolders& folders,
                                         ProgramStarter& programs, MessageService& messages,
                                         HelpService& help, std::string programFolder)
    : page_(page), options_(options), settings_(settings), programs_(programs), messages_(messages),
      help_(help), installer_(folders, std::move(programFolder)) {
    QObject::connect(page_.Slider1, &QSlider::valueChanged, page_.Slider1,
                     [this](int v) { sliderChanged(v); });
    QObject::connect(page_.Command3, &QPushButton::clicked, page_.Command3, [this] { Command3_Click(); });
    QObject::connect(page_.Command4, &QPushButton::clicked, page_.Command4, [this] { Command4_Click(); });
    QObject::connect(page_.Command5, &QPushButton::clicked, page_.Command5, [this] { Command5_Click(); });
    QObject::connect(page_.Command6, &QPushButton::clicked, page_.Command6, [this] { Command6_Click(); });
}

void ScreensaverCommands::readSize() {
    osize = readSquareSize(settings_);
    nSize = osize;
    showSize(*osize);
}

void ScreensaverCommands::showSize(double size) {
    showingSize_ = true;
    page_.Slider1->setValue(roundToInt(size));
    showingSize_ = false;
    page_.Label13->setNum(page_.Slider1->value());
}

void ScreensaverCommands::sliderChanged(int value) {
    if (!showingSize_)
        nSize = value;
}

void ScreensaverCommands::ssrefresh() {
    readSize();
    if (!installer_.isInstalled()) {
        page_.Label12->setText("Not Installed");
        page_.Command3->setEnabled(true);
        return; // the active state is left as it was
    }
    page_.Label12->setText("Installed");
    page_.Command3->setEnabled(false);
    const bool active = installer_.isActive();
    page_.Command4->setEnabled(!active);
    page_.Label11->setText(active ? "Active" : "Not Active");
}

void ScreensaverCommands::sssave() {
    // Before the page was first shown nothing was chosen: the stored size (or 6) is kept.
    if (!nSize)
        nSize = readSquareSize(settings_);
    osize = nSize;
    storeSquareSize(settings_, *osize);
}

void ScreensaverCommands::cancelled() {
    if (nSize)
        readSize();
}

void ScreensaverCommands::tell(const char* title, const char* text, MessageIcon icon, int context,
                               bool helpButton) {
    messages_.inform(Notice{title, text, icon, context, options_.helpFilePath, helpButton});
}

void ScreensaverCommands::Command3_Click() {
    if (!installer_.install()) {
        tell("Screensaver error", "Error installing screensaver.", MessageIcon::None,
             help::installScreensaver, false);
        return;
    }
    page_.Label12->setText("Installed");
    page_.Command3->setEnabled(false);
}

void ScreensaverCommands::Command4_Click() {
    sssave();
    if (installer_.activate() != ActivationResult::Activated) {
        tell("INI File error", "Error adjusting system INI file.", MessageIcon::None, help::systemIni, false);
        return;
    }
    page_.Command4->setEnabled(false);
    page_.Label11->setText("Active");
}

void ScreensaverCommands::Command5_Click() {
    sssave();
    // The copy beside the simulator runs, not the installed one.
    const std::string program = installer_.programFolder() + "/" + std::string(screensaverProgramName);
    if (!programs_.start(program, {"/S"}))
        tell("Screensaver not found", "Screensaver not found.\rPlease re-install Bramblex 2.",
             MessageIcon::Exclamation, help::testScreensaver, true);
}

void ScreensaverCommands::Command6_Click() {
    help_.showHelp(installer_.programFolder() + "/bramblexss.hlp", HelpContext, 0);
}

} // namespace bx

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
    QObject::connect(page_.squareSizeSlider, &QSlider::valueChanged, page_.squareSizeSlider,
                     [this](int v) { sliderChanged(v); });
    QObject::connect(page_.installButton, &QPushButton::clicked, page_.installButton, [this] { install(); });
    QObject::connect(page_.activateButton, &QPushButton::clicked, page_.activateButton,
                     [this] { activate(); });
    QObject::connect(page_.testButton, &QPushButton::clicked, page_.testButton, [this] { test(); });
    QObject::connect(page_.helpButton, &QPushButton::clicked, page_.helpButton, [this] { showHelp(); });
}

void ScreensaverCommands::readSize() {
    osize = readSquareSize(settings_);
    nSize = osize;
    showSize(*osize);
}

void ScreensaverCommands::showSize(double size) {
    showingSize_ = true;
    page_.squareSizeSlider->setValue(roundToInt(size));
    showingSize_ = false;
    page_.squareSizeLabel->setNum(page_.squareSizeSlider->value());
}

void ScreensaverCommands::sliderChanged(int value) {
    if (!showingSize_)
        nSize = value;
}

void ScreensaverCommands::ssrefresh() {
    readSize();
    if (!installer_.isInstalled()) {
        page_.installedLabel->setText("Not Installed");
        page_.installButton->setEnabled(true);
        return; // the active state is left as it was
    }
    page_.installedLabel->setText("Installed");
    page_.installButton->setEnabled(false);
    const bool active = installer_.isActive();
    page_.activateButton->setEnabled(!active);
    page_.activeLabel->setText(active ? "Active" : "Not Active");
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

void ScreensaverCommands::install() {
    if (!installer_.install()) {
        tell("Screensaver error", "Error installing screensaver.", MessageIcon::None,
             help::installScreensaver, false);
        return;
    }
    page_.installedLabel->setText("Installed");
    page_.installButton->setEnabled(false);
}

void ScreensaverCommands::activate() {
    sssave();
    if (installer_.activate() != ActivationResult::Activated) {
        tell("INI File error", "Error adjusting system INI file.", MessageIcon::None, help::systemIni, false);
        return;
    }
    page_.activateButton->setEnabled(false);
    page_.activeLabel->setText("Active");
}

void ScreensaverCommands::test() {
    sssave();
    // The copy beside the simulator runs, not the installed one.
    const std::string program = installer_.programFolder() + "/" + std::string(screensaverProgramName);
    if (!programs_.start(program, {"/S"}))
        tell("Screensaver not found", "Screensaver not found.\rPlease re-install Bramblex 2.",
             MessageIcon::Exclamation, help::testScreensaver, true);
}

void ScreensaverCommands::showHelp() {
    help_.showHelp(installer_.programFolder() + "/bramblexss.hlp", HelpContext, 0);
}

} // namespace bx

#include "screensavercommands.h"

#include "engine/numeric.h"
#include "saverinstall/squaresetting.h"

namespace bx {

ScreensaverCommands::ScreensaverCommands(ScreensaverTab& page, const SimulationOptions& options,
                                         SettingsStore& settings, SystemFolders& folders,
                                         ProgramStarter& programs, MessageService& messages,
                                         HelpService& help, std::string programFolder)
    : page_(page), options_(options), settings_(settings), programs_(programs), messages_(messages),
      help_(help), installer_(folders, std::move(programFolder)) {
    QObject::connect(&page_, &ScreensaverTab::squareSizeMoved, &page_, [this](int size) { nSize = size; });
    QObject::connect(&page_, &ScreensaverTab::installRequested, &page_, [this] { install(); });
    QObject::connect(&page_, &ScreensaverTab::activateRequested, &page_, [this] { activate(); });
    QObject::connect(&page_, &ScreensaverTab::testRequested, &page_, [this] { test(); });
    QObject::connect(&page_, &ScreensaverTab::helpRequested, &page_, [this] { showHelp(); });
}

void ScreensaverCommands::readSize() {
    osize = readSquareSize(settings_);
    nSize = osize;
    page_.showSquareSize(roundToInt(*osize));
}

void ScreensaverCommands::ssrefresh() {
    readSize();
    const bool installed = installer_.isInstalled();
    page_.showInstalled(installed);
    if (installed) // otherwise the active state is left as it was
        page_.showActive(installer_.isActive());
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
    page_.showInstalled(true);
}

void ScreensaverCommands::activate() {
    sssave();
    if (installer_.activate() != ActivationResult::Activated) {
        tell("INI File error", "Error adjusting system INI file.", MessageIcon::None, help::systemIni, false);
        return;
    }
    page_.showActive(true);
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

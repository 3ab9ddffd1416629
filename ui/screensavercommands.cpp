#include "screensavercommands.h"

#include "engine/numeric.h"
#include "saverinstall/squaresetting.h"

namespace bx {

ScreensaverCommands::ScreensaverCommands(ScreensaverTab& page, const SimulationOptions& options,
                                         SettingsStore& settings, const HostFolders& folders,
                                         CommandRunner& commands, ProgramStarter& programs,
                                         MessageService& messages, HelpService& help,
                                         std::string programFolder)
    : page_(page), options_(options), settings_(settings), programs_(programs), messages_(messages),
      help_(help), hosts_(folders, commands, programFolder + "/" + screensaverProgramName),
      programFolder_(std::move(programFolder)) {
    QObject::connect(&page_, &ScreensaverTab::squareSizeMoved, &page_, [this](int size) { nSize = size; });
    QObject::connect(&page_, &ScreensaverTab::installRequested, &page_, [this] { install(); });
    QObject::connect(&page_, &ScreensaverTab::uninstallRequested, &page_, [this] { uninstall(); });
    QObject::connect(&page_, &ScreensaverTab::activateRequested, &page_, [this] { activate(); });
    QObject::connect(&page_, &ScreensaverTab::testRequested, &page_, [this] { test(); });
    QObject::connect(&page_, &ScreensaverTab::helpRequested, &page_, [this] { showHelp(); });
}

void ScreensaverCommands::readSize() {
    osize = readSquareSize(settings_);
    nSize = osize;
    page_.showSquareSize(roundToInt(*osize));
}

void ScreensaverCommands::showStatus() {
    const Installation installation = hosts_.installation();
    page_.showInstalled(installation != Installation::None, installation == Installation::PerUser);
    page_.showActive(hosts_.isActive());
}

void ScreensaverCommands::ssrefresh() {
    readSize();
    showStatus();
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

void ScreensaverCommands::tell(const char* title, const std::string& text, MessageIcon icon, int context,
                               bool helpButton) {
    messages_.inform(Notice{title, text, icon, context, options_.helpFilePath, helpButton});
}

void ScreensaverCommands::install() {
    if (!hosts_.install())
        tell("Screensaver error", "Error installing screensaver.", MessageIcon::None,
             help::installScreensaver, false);
    showStatus();
}

void ScreensaverCommands::uninstall() {
    if (!hosts_.uninstall())
        tell("Screensaver error", "Error uninstalling screensaver.", MessageIcon::None,
             help::installScreensaver, false);
    showStatus();
}

void ScreensaverCommands::activate() {
    sssave();
    const std::vector<HostReport> reports = hosts_.activate();
    if (reports.empty()) {
        tell("No screensaver host", hostPackagesAdvice, MessageIcon::Exclamation, help::systemIni, true);
        return;
    }
    std::string failures;
    for (const HostReport& r : reports)
        if (!r.done)
            failures += "\r" + r.host + ": " + r.said;
    if (!failures.empty())
        tell("Screensaver settings error", "Error adjusting the screensaver settings." + failures,
             MessageIcon::None, help::systemIni, false);
    showStatus();
}

void ScreensaverCommands::test() {
    sssave();
    // The copy beside the simulator runs, not the installed one.
    const std::string program = programFolder_ + "/" + screensaverProgramName;
    if (!programs_.start(program, {"/S"}))
        tell("Screensaver not found", "Screensaver not found.\rPlease re-install Bramblex 2.",
             MessageIcon::Exclamation, help::testScreensaver, true);
}

void ScreensaverCommands::showHelp() {
    help_.showHelp(programFolder_ + "/bramblexss.hlp", HelpContext, 0);
}

} // namespace bx

#pragma once
// What the options window's Screensaver page does: the square size shared with the screensaver,
// its status in the desktop's screensaver hosts (installed, active), and the Install (Uninstall),
// Activate, Test and Help buttons.
#include <optional>
#include <string>

#include "engine/options.h"
#include "optionstabs/screensavertab.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/programstarter.h"
#include "saverinstall/commandrunner.h"
#include "saverinstall/desktophosts.h"
#include "saverinstall/settingsstore.h"

namespace bx {

class ScreensaverCommands : public ScreensaverPageActions {
public:
    // helpFilePath is read from options when a message needs it (it is set at start-up).
    ScreensaverCommands(ScreensaverTab& page, const SimulationOptions& options, SettingsStore& settings,
                        const HostFolders& folders, CommandRunner& commands, ProgramStarter& programs,
                        MessageService& messages, HelpService& help, std::string programFolder);

    // The square size as read from the store and as stored, and as chosen with Slider1; no
    // value until the page is first shown.
    std::optional<double> osize, nSize;

    // ScreensaverPageActions
    void ssrefresh() override;
    void sssave() override;

    void install();   // Install
    void uninstall(); // Install when it reads Uninstall
    void activate();  // Activate
    void test();      // Test Screensaver
    void showHelp();  // Screensaver Help
    // The options were cancelled: a size chosen but not stored is forgotten.
    void cancelled();

private:
    void readSize();
    void showStatus();
    // An OK box naming a help context of the simulator's help file; only some carry a Help button.
    void tell(const char* title, const std::string& text, MessageIcon icon, int context, bool helpButton);

    ScreensaverTab& page_;
    const SimulationOptions& options_;
    SettingsStore& settings_;
    ProgramStarter& programs_;
    MessageService& messages_;
    HelpService& help_;
    DesktopHosts hosts_;
    std::string programFolder_;
};

} // namespace bx

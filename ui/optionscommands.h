#pragma once
// What the options window's buttons and menus do: opening and closing it (the simulation waits
// while it is open), accepting, cancelling, the two save flows, the reset to defaults and help.
#include <optional>

#include "engine/pausehold.h"
#include "engine/simulation.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "profilecommands.h"

namespace bx {

class OptionsWindow;
class ViewOperations;

class OptionsCommands : public OptionsSession {
public:
    OptionsCommands(OptionsWindow& window, Simulation& sim, ViewOperations& view, MessageService& messages,
                    HelpService& help);

    void openOptionsWindow();
    void closeOptionsWindow();
    // The OK button: the screensaver settings are stored first, whatever the answer.
    void okClicked();
    void acceptOptions();
    void cancelOptions();
    void saveAndUseOptions();
    void saveOptionsFromMain();
    void resetOptionsToDefaults();
    void helpWindow();
    void helpContents();
    void helpSearch();

    // How the main window's save asks for a file and writes the profile.
    void setSaveProfile(std::function<void()> save) { saveProfile_ = std::move(save); }

    // OptionsSession
    bool isOptionsWindowOpen() const override { return hold_.has_value(); }
    void runWithLivePhase(const std::function<bool()>& command) override;

private:
    bool confirm(const char* firstLine, bool wanted);
    void stopIfRunning();
    // Stops the run, asks (when asked to), closes the window and takes its options; false when
    // the user says no.
    bool takeOptionsToSave();

    OptionsWindow& window_;
    Simulation& sim_;
    ViewOperations& view_;
    MessageService& messages_;
    HelpService& help_;
    std::function<void()> saveProfile_ = [] {};
    // The simulation waits while the window is open (only a window that was opened holds it: the
    // main window's save never opens it).
    std::optional<PauseHold> hold_;
    int helpCommand_ = HelpContext;
};

} // namespace bx

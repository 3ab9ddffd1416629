#pragma once
// Loading and saving profiles through the dialogs and the quick-profile items, and keeping those
// items of the main window and the options window in step with the Profiles folder.
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

#include "engine/simulation.h"
#include "platform/filedialogs.h"
#include "platform/messages.h"

namespace bx {

class MainWindow;
class OptionsWindow;

// The options window as the profile commands see it: while it is open it holds the simulation
// paused, and a command that stops, loads or resets must work on the phase it holds.
class OptionsSession {
public:
    virtual ~OptionsSession() = default;
    virtual bool isOptionsWindowOpen() const = 0;
    // Runs `command` on the live phase; it returns whether it replaced or reset the world.
    virtual void runWithLivePhase(const std::function<bool()>& command) = 0;
};

class ProfileCommands {
public:
    // Profiles live in programFolder + "/Profiles", created when the menus are first refreshed.
    ProfileCommands(Simulation& sim, MainWindow& main, OptionsWindow& optionsWindow, OptionsSession& session,
                    FileDialogs& dialogs, MessageService& messages, std::string programFolder);

    std::string profileFolder() const { return programFolder_ + "/Profiles"; }

    void refreshProfileMenus();
    // Asks (when promptOnReset is set) and for a file, and loads it.
    void loadProfile();
    // Loads the profile file at path.
    void loadProfileFrom(const std::string& path);
    // Asks (when promptOnReset is set) and loads the profile a quick item shows; index 2 .. 8 is
    // the number in the clicked item's name.
    void loadQuickProfile(int index);
    void saveProfileAs();
    // Told when a profile has been loaded.
    void setLoaded(std::function<void()> loaded) { loaded_ = std::move(loaded); }

private:
    void stopIfRunning();
    void readFrom(const std::string& path);
    // A closed options window shows the loaded values the next time it opens.
    void showLoadedOptions();
    // After a save, written or not: the menus, then the counters and the world shown again.
    void finishSave();
    FileDialogRequest dialogRequest(const char* title) const;

    Simulation& sim_;
    MainWindow& main_;
    OptionsWindow& optionsWindow_;
    OptionsSession& session_;
    FileDialogs& dialogs_;
    MessageService& messages_;
    std::string programFolder_;
    QStringList quickCaptions_; // as the quick items show them
    std::function<void()> loaded_ = [] {};
};

// A menu caption shows "&" only when it is doubled; the file name is the caption undoubled.
QString profileCaption(const QString& fileName);
QString profileNameOfCaption(const QString& caption);

} // namespace bx

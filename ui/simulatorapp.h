#pragma once
// The simulator program: owns the options record, the world state and the windows, runs the
// tick timer, and is the engine's host.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/host.h"
#include "engine/options.h"
#include "engine/random.h"
#include "engine/simulation.h"
#include "engine/tickpace.h"
#include "engine/worldstate.h"
#include "platform/browser.h"
#include "platform/colourpicker.h"
#include "platform/cursor.h"
#include "platform/filedialogs.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/programstarter.h"
#include "platform/screen.h"
#include "platform/windowplaces.h"
#include "record/history.h"
#include "savefile.h"
#include "saverinstall/commandrunner.h"
#include "saverinstall/desktophosts.h"
#include "saverinstall/settingsstore.h"

class QTimer;

namespace bx {

class AboutWindow;
class DisplayWindow;
class MainWindow;
class SplashWindow;
class ViewOperations;
class OptionsWindow;
class OptionsCommands;
class ProfileCommands;
class ScreensaverCommands;
class StatisticsWindow;

// The host services the simulator uses; main() passes the real ones, tests their fakes.
struct Platform {
    MessageService& messages;
    HelpService& help;
    const ScreenMetrics& screen;
    CursorCounter& cursor;
    WebBrowser& browser;
    FileDialogs& files;
    ColourPicker& colours;
    HostFolders folders;         // where the screensaver hosts look (home, XDG folders, hack folder)
    CommandRunner& commands;     // the hosts' tools: gsettings, xscreensaver-command, xfconf-query
    ProgramStarter& programs;    // starts the screensaver for a test
    SettingsStore& settings;     // the square size shared with the screensaver
    std::string programFolder;   // the help files and the screensaver sit in it
    std::string profileHome;     // the Profiles folder lives in it
    std::string picturesFolder;  // where pictures are saved first
    std::string documentsFolder; // where tables are saved first
};

class SimulatorApp : public QObject, public SimulationHost {
    Q_OBJECT
public:
    SimulatorApp(Platform platform, std::unique_ptr<RandomSource> rng = nullptr);
    ~SimulatorApp() override;

    // The main window's load: defaults, the first reset, the windows shown.
    void startUp();
    // The main window's unload: every window closes and the program ends.
    void shutDown();

    SimulationOptions& options() { return options_; }
    const WorldState& world() const { return world_; }
    Simulation& simulation() { return *sim_; }
    MainWindow& mainWindow() { return *main_; }
    DisplayWindow& displayWindow() { return *display_; }
    AboutWindow& aboutWindow() { return *about_; }
    ViewOperations& view() { return *view_; }
    OptionsWindow& optionsWindow() { return *optionsWindow_; }
    OptionsCommands& optionsCommands() { return *optionsCommands_; }
    ProfileCommands& profiles() { return *profiles_; }
    ScreensaverCommands& screensaverCommands() { return *screensaver_; }

    // One tick: the engine's slice, then what it painted is shown at once.
    void tick();
    // The tick timer's handler: the ticks due at one a millisecond (TickPace), then a frame
    // when one is due (FramePace); what waits is shown by the frame timer.
    void wake();
    // The steady clock in ns that wake() and the frames go by (tests set their own).
    // Times taken on the old clock are forgotten.
    void setClock(std::function<int64_t()> clock) {
        clock_ = std::move(clock);
        pace_ = TickPace{};
        frames_ = FramePace{};
    }
    QTimer* frameTimer() const { return frameTimer_; }
    void showAbout();
    // The Statistics window, opened (or brought to the front).
    void showStatistics();
    // The world as a PNG picture at the current square size, to a file the user names.
    void savePicture();
    const StatsHistory& history() const { return history_; }
    StatisticsWindow& statisticsWindow() { return *statistics_; }

    // SimulationHost
    void setMainCaption(std::string_view text) override;
    void setDisplayCaption(std::string_view text) override;
    void showCounters(int32_t generation, int32_t organisms, int32_t environments) override;
    void setCreationCommandsEnabled(bool enabled) override;
    void showRunState(bool running) override;
    void setTimerEnabled(bool enabled) override;
    void layoutWindows() override;
    void worldReset() override;
    void showReadout(const Readout& readout) override;
    void clearReadout() override;
    Answer ask(const Question& question) override;
    void processEvents() override;
    void worldCreated(bool saveRequested) override;
    void generationEnded(bool worldWasReset) override;

signals:
    void ended();

private:
    void connectCommands();
    void connectOptionsCommands();
    void connectHelpKey();
    void showIdentity();
    void placeWindows();
    void keepPlaces();
    void runTick();
    // Shows the captions and counters set during ticks and what was painted: at once when the
    // world rests, otherwise when a frame is due.
    void presentFrame();
    void present();
    void showPendingCounters();
    void showPendingReadout();

    Platform platform_;
    WindowPlaces places_; // where the user left the windows, from one run to the next
    SimulationOptions options_;
    WorldState world_;
    std::unique_ptr<RandomSource> rng_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<DisplayWindow> display_;
    std::unique_ptr<Simulation> sim_;
    std::unique_ptr<OptionsWindow> optionsWindow_;
    std::unique_ptr<ViewOperations> view_;
    std::unique_ptr<OptionsCommands> optionsCommands_;
    std::unique_ptr<ProfileCommands> profiles_;
    std::unique_ptr<ScreensaverCommands> screensaver_;
    std::unique_ptr<SplashWindow> splash_;
    std::unique_ptr<AboutWindow> about_;
    StatsHistory history_; // the generations since the last reset or load
    SaveFolders saveFolders_{platform_.settings, platform_.picturesFolder, platform_.documentsFolder};
    GenerationRecorder recorder_{options_, world_, true};
    std::unique_ptr<StatisticsWindow> statistics_;
    bool ending_ = false;
    // Captions and counters set during ticks are shown once a frame: a fast tick sets a caption
    // per column.
    bool inTick_ = false;
    std::optional<QString> pendingMainCaption_, pendingDisplayCaption_;
    struct Counters {
        int32_t generation, organisms, environments;
    };
    std::optional<Counters> pendingCounters_;
    std::optional<Readout> pendingReadout_;
    bool ticking_ = false; // the engine wants ticks (the timer may be stopped by a test)
    TickPace pace_;
    FramePace frames_;
    QTimer* frameTimer_;
    std::function<int64_t()> clock_;
};

} // namespace bx

#pragma once
// The screensaver program: the entry procedure that starts a mode, the windows of that mode, and
// the ends of the saver (quitSaver, endSaver). Owns the one program-wide record.
#include <QObject>
#include <QRect>
#include <memory>
#include <string>

#include "commandline.h"
#include "engine/saverworld.h"
#include "hostwindow.h"
#include "platform/browser.h"
#include "platform/cursor.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "saverinstall/settingsstore.h"
#include "saverstate.h"

namespace bx {

class AboutForm;
class ConfigDialog;
class DesktopSurface;
class ListenWindow;
class SaverSurface;
class ScreenWindow;

struct SaverPlatform {
    MessageService& messages;
    HelpService& help;
    CursorCounter& cursor;
    WebBrowser& browser;
    SettingsStore& settings;
    HostWindows& hosts;
    RandomSource& rng;
    std::string programFolder; // where bramblexss.hlp is
    QRect screenArea;          // what the full-screen saver covers, in pixels: every screen
};

class SaverApp : public QObject, public SaverHost {
    Q_OBJECT
public:
    explicit SaverApp(SaverPlatform platform);
    ~SaverApp() override;

    // The entry procedure. True when a mode runs on the windows' timers (the event loop is
    // needed); false when the program is to end now (no mode, the password change).
    bool start(const SaverCommand& command);

    // The user asked the full-screen saver to end. Linux has no saver password: it ends.
    void requestQuit();
    // Shows the pointer, closes the full-screen window, ends the saver.
    void quitSaver();
    // Shows the pointer and ends the program: timers stop, windows close, finished() is sent.
    void endSaver();
    // Shows or hides the pointer whatever the display counter was.
    void setPointerShown(bool shown);

    bool hasEnded() const { return ended_; }
    SaverModule& module() { return module_; }
    ScreenWindow* screenWindow() const { return screen_.get(); }
    ListenWindow* listenWindow() const { return listen_.get(); }
    ConfigDialog* configDialog() const { return config_.get(); }
    AboutForm* aboutForm() const { return about_.get(); }
    std::string helpFile() const { return platform_.programFolder + "/" + saverHelpFileName; }

    // SaverHost: the one surface of the mode that runs
    SurfaceSize surfaceSize(SaverMode saverMode) override;
    Canvas* surfaceCanvas(SaverMode saverMode) override;
    void enableTimer(SaverMode saverMode) override;
    void letEventsRun() override;

signals:
    void finished();

private:
    void startFullScreen();
    void startEmbedded(int64_t host, SaverMode mode);
    void startOnDesktop();
    void startConfiguration();
    void showPasswordMessage();
    // Steps the world on the surface of mode_ and shows what was painted.
    void step();

    SaverPlatform platform_;
    SaverModule module_;
    SaverMode mode_ = SaverMode::None; // what the ticks step
    bool ended_ = false;
    std::unique_ptr<AboutForm> about_;
    std::unique_ptr<ListenWindow> listen_;
    std::unique_ptr<ScreenWindow> screen_;
    std::unique_ptr<ConfigDialog> config_;
    DesktopSurface* desktop_ = nullptr;     // surface_ when drawing on the desktop's background
    std::unique_ptr<SaverSurface> surface_; // what mode_ draws on
    ColumnPace pace_;
};

} // namespace bx

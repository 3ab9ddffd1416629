#pragma once
// The screensaver program: the entry procedure that starts a mode, the windows of that mode, and
// the ends of the saver (quitSaver, endSaver). Owns the one program-wide record.
#include <QObject>
#include <QRect>
#include <QTimer>
#include <memory>
#include <string>

#include "commandline.h"
#include "hostwindow.h"
#include "platform/browser.h"
#include "platform/cursor.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "saverengine.h"
#include "saverinstall/settingsstore.h"
#include "saverstate.h"

namespace bx {

class AboutForm;
class ConfigDialog;
class ListenWindow;
class RootSurface;
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

    // SaverHost
    SurfaceSize surfaceSize(int saverMode) override;
    Canvas* surfaceCanvas(int saverMode) override;
    void enableTimer(int saverMode) override;
    void letEventsRun() override;

signals:
    void finished();

private:
    void startFullScreen();
    void startEmbedded(int64_t host, int saverMode);
    void startOnDesktop();
    void startConfiguration();
    void showPasswordMessage();
    void step(int saverMode);

    SaverPlatform platform_;
    SaverModule module_;
    int embeddedMode_ = SaverPreview; // what the listener's ticks step: preview or host window
    bool ended_ = false;
    std::unique_ptr<AboutForm> about_;
    std::unique_ptr<ListenWindow> listen_;
    std::unique_ptr<ScreenWindow> screen_;
    std::unique_ptr<ConfigDialog> config_;
    std::unique_ptr<RootSurface> desktop_; // the desktop's background, drawn on without a host
    QTimer* desktopTimer_ = nullptr;
    ColumnPace pace_;
};

} // namespace bx

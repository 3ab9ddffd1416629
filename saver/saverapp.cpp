#include "saverapp.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <chrono>

#include "aboutform.h"
#include "configdialog.h"
#include "engine/options.h"
#include "listenwindow.h"
#include "rootsurface.h"
#include "saverinstall/squaresetting.h"
#include "saversurface.h"
#include "screenwindow.h"

namespace bx {

SaverApp::SaverApp(SaverPlatform platform) : platform_(std::move(platform)) {}

SaverApp::~SaverApp() {
    // Whatever way the program ends, the pointer comes back.
    platform_.cursor.restore();
}

bool SaverApp::start(const SaverCommand& command) {
    module_.versionText = versionStringOf(saverMajorVersion, saverMinorVersion);
    about_ = std::make_unique<AboutForm>(platform_.messages, platform_.help, platform_.browser, helpFile());
    about_->setVersionText(QString::fromStdString(module_.versionText));

    SaverWorld& world = module_.world;
    world = SaverWorld{};
    world.squareSizeSetting = command.squareSize.value_or(readSquareSize(platform_.settings));

    switch (command.launch) {
    case SaverLaunch::FullScreen:
        startFullScreen();
        return true;
    case SaverLaunch::Configure:
        startConfiguration();
        return true;
    case SaverLaunch::Preview:
        startEmbedded(command.handle, SaverMode::Preview);
        return true;
    case SaverLaunch::HostWindow:
        startEmbedded(command.handle, SaverMode::HostWindow);
        return true;
    case SaverLaunch::Root:
        startOnDesktop();
        return !ended_;
    case SaverLaunch::Password:
        module_.previewParent = command.handle;
        showPasswordMessage();
        return false;
    case SaverLaunch::Help:
    case SaverLaunch::Activate:
    case SaverLaunch::Deactivate:
    case SaverLaunch::None:
        break;
    }
    return false;
}

void SaverApp::startFullScreen() {
    module_.previewMode = false;
    listen_ = std::make_unique<ListenWindow>(module_, platform_.hosts);
    screen_ = std::make_unique<ScreenWindow>(module_, platform_.screenArea);
    surface_ = std::make_unique<WidgetSurface>(*screen_, *screen_->tickTimer);
    // Screens added, taken away or rearranged: the window covers them all again, and the world
    // is built anew for the new size.
    if (QScreen* primary = QGuiApplication::primaryScreen())
        connect(primary, &QScreen::virtualGeometryChanged, screen_.get(),
                [this](const QRect& area) { screen_->setGeometry(area); });
    connect(screen_.get(), &ScreenWindow::tick, this, &SaverApp::step);
    connect(screen_.get(), &ScreenWindow::quitRequested, this, &SaverApp::requestQuit);
    connect(screen_.get(), &ScreenWindow::activated, this, [this] { setPointerShown(false); });
    mode_ = module_.world.saverMode = SaverMode::FullScreen;
    createWorld(module_.world, *this, platform_.rng);
    if (ended_)
        return; // the user ended it while the world was being built
    screen_->cover();
    // Hidden here too: without a window manager the window may never be told it is active.
    setPointerShown(false);
}

void SaverApp::startEmbedded(int64_t host, SaverMode mode) {
    mode_ = module_.world.saverMode = mode;
    module_.previewMode = true;
    module_.previewParent = host;
    listen_ = std::make_unique<ListenWindow>(module_, platform_.hosts);
    surface_ = std::make_unique<EmbeddedSurface>(*listen_, module_);
    connect(listen_.get(), &ListenWindow::tick, this, &SaverApp::step);
    connect(listen_.get(), &ListenWindow::hostGone, this, &SaverApp::endSaver);
    listen_->attachTo(host);
    createWorld(module_.world, *this, platform_.rng);
    if (listen_)
        listen_->tickTimer->start();
}

// As X screen hacks do: no window of its own, no keyboard, no pointer; it ends on a signal.
void SaverApp::startOnDesktop() {
    mode_ = module_.world.saverMode = SaverMode::HostWindow;
    auto root = std::make_unique<RootSurface>();
    if (!root->ok()) {
        endSaver();
        return;
    }
    auto desktop = std::make_unique<DesktopSurface>(std::move(root));
    desktop_ = desktop.get();
    surface_ = std::move(desktop);
    connect(&surface_->timer(), &QTimer::timeout, this, &SaverApp::step);
    if (QScreen* primary = QGuiApplication::primaryScreen())
        connect(primary, &QScreen::virtualGeometryChanged, this, [this] {
            if (desktop_)
                desktop_->updateSize();
        });
    createWorld(module_.world, *this, platform_.rng);
}

void SaverApp::startConfiguration() {
    mode_ = module_.world.saverMode = SaverMode::Config;
    config_ = std::make_unique<ConfigDialog>(module_, platform_.settings, platform_.help, helpFile());
    surface_ = std::make_unique<WidgetSurface>(*config_->preview, *config_->tickTimer);
    connect(config_.get(), &ConfigDialog::tick, this, &SaverApp::step);
    connect(config_.get(), &ConfigDialog::aboutRequested, this, [this] { about_->open(); });
    connect(config_.get(), &QDialog::finished, this, &SaverApp::endSaver);
    createWorld(module_.world, *this, platform_.rng);
    config_->show();
}

void SaverApp::showPasswordMessage() {
    Notice notice;
    notice.title = saverTitle;
    notice.text = "Certain libraries are missing from your system.\rThe screen saver password cannot be set.";
    notice.icon = MessageIcon::Exclamation;
    platform_.messages.inform(notice);
}

void SaverApp::step() {
    if (ended_ || !surface_)
        return;
    module_.world.saverMode = mode_;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    for (int columns = pace_.due(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
         columns > 0 && !ended_; --columns)
        stepWorld(module_.world, *this, platform_.rng);
    if (surface_)
        surface_->flush();
}

void SaverApp::requestQuit() {
    module_.passwordCheckActive = true;
    // No saver password on Linux: never a saver that cannot be closed.
    quitSaver();
}

void SaverApp::quitSaver() {
    setPointerShown(true);
    if (!module_.previewMode && screen_)
        screen_->hide();
    endSaver();
}

void SaverApp::endSaver() {
    if (ended_)
        return;
    ended_ = true;
    setPointerShown(true);
    if (surface_)
        surface_->timer().stop();
    if (screen_) {
        screen_->mouseTimer->stop();
        screen_->hide();
    }
    if (desktop_) {
        surface_.reset(); // the desktop's background comes back
        desktop_ = nullptr;
    }
    if (config_)
        config_->hide();
    if (about_)
        about_->hide();
    emit finished();
}

void SaverApp::setPointerShown(bool shown) {
    CursorCounter& cursor = platform_.cursor;
    if (shown) {
        while (cursor.count() < 0)
            cursor.show(true);
    } else {
        while (cursor.count() >= 0)
            cursor.show(false);
    }
}

// Every mode has one surface: the engine's mode names the same one.
SurfaceSize SaverApp::surfaceSize(SaverMode) {
    return surface_ ? surface_->size() : SurfaceSize{};
}

Canvas* SaverApp::surfaceCanvas(SaverMode) {
    return surface_ ? surface_->canvas() : nullptr;
}

void SaverApp::enableTimer(SaverMode) {
    if (!ended_ && surface_)
        surface_->timer().start();
}

void SaverApp::letEventsRun() {
    QCoreApplication::processEvents();
}

} // namespace bx

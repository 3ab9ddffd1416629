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
        startEmbedded(command.handle, SaverPreview);
        return true;
    case SaverLaunch::HostWindow:
        startEmbedded(command.handle, SaverHostWindow);
        return true;
    case SaverLaunch::Root:
        startOnDesktop();
        return !ended_;
    case SaverLaunch::Password:
        module_.previewParent = command.handle;
        showPasswordMessage();
        return false;
    case SaverLaunch::Help:
    case SaverLaunch::None:
        break;
    }
    return false;
}

void SaverApp::startFullScreen() {
    module_.previewMode = false;
    listen_ = std::make_unique<ListenWindow>(module_, platform_.hosts);
    screen_ = std::make_unique<ScreenWindow>(module_, platform_.screenArea);
    // Screens added, taken away or rearranged: the window covers them all again, and the world
    // is built anew for the new size.
    if (QScreen* primary = QGuiApplication::primaryScreen())
        connect(primary, &QScreen::virtualGeometryChanged, screen_.get(),
                [this](const QRect& area) { screen_->setGeometry(area); });
    connect(screen_.get(), &ScreenWindow::tick, this, [this] { step(SaverFullScreen); });
    connect(screen_.get(), &ScreenWindow::quitRequested, this, &SaverApp::requestQuit);
    connect(screen_.get(), &ScreenWindow::activated, this, [this] { setPointerShown(false); });
    module_.world.saverMode = SaverFullScreen;
    createWorld(module_.world, *this, platform_.rng);
    if (ended_)
        return; // the user ended it while the world was being built
    screen_->cover();
    // Hidden here too: without a window manager the window may never be told it is active.
    setPointerShown(false);
}

void SaverApp::startEmbedded(int64_t host, int saverMode) {
    embeddedMode_ = saverMode;
    module_.world.saverMode = saverMode;
    module_.previewMode = true;
    module_.previewParent = host;
    listen_ = std::make_unique<ListenWindow>(module_, platform_.hosts);
    connect(listen_.get(), &ListenWindow::tick, this, [this] { step(embeddedMode_); });
    connect(listen_.get(), &ListenWindow::hostGone, this, &SaverApp::endSaver);
    listen_->attachTo(host);
    createWorld(module_.world, *this, platform_.rng);
    if (listen_)
        listen_->tickTimer->start();
}

// As X screen hacks do: no window of its own, no keyboard, no pointer; it ends on a signal.
void SaverApp::startOnDesktop() {
    module_.world.saverMode = SaverHostWindow;
    desktop_ = std::make_unique<RootSurface>();
    if (!desktop_->ok()) {
        endSaver();
        return;
    }
    desktopTimer_ = new QTimer(this);
    desktopTimer_->setInterval(saverTickInterval);
    connect(desktopTimer_, &QTimer::timeout, this, [this] { step(SaverHostWindow); });
    if (QScreen* primary = QGuiApplication::primaryScreen())
        connect(primary, &QScreen::virtualGeometryChanged, this, [this] { desktop_->updateSize(); });
    createWorld(module_.world, *this, platform_.rng);
}

void SaverApp::startConfiguration() {
    module_.world.saverMode = SaverConfig;
    config_ = std::make_unique<ConfigDialog>(module_, platform_.settings, platform_.help, helpFile());
    connect(config_.get(), &ConfigDialog::tick, this, [this] { step(SaverConfig); });
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

void SaverApp::step(int saverMode) {
    if (ended_)
        return;
    module_.world.saverMode = saverMode;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    for (int columns = pace_.due(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
         columns > 0 && !ended_; --columns)
        stepWorld(module_.world, *this, platform_.rng);
    if (saverMode == SaverFullScreen && screen_)
        screen_->flush();
    else if (saverMode == SaverConfig && config_)
        config_->preview->flush();
    else if (desktop_)
        desktop_->flush();
    else if (listen_)
        listen_->preview->flush();
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
    if (screen_) {
        screen_->tickTimer->stop();
        screen_->mouseTimer->stop();
        screen_->hide();
    }
    if (listen_)
        listen_->tickTimer->stop();
    if (desktopTimer_)
        desktopTimer_->stop();
    desktop_.reset(); // the desktop's background comes back
    if (config_) {
        config_->tickTimer->stop();
        config_->hide();
    }
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

SurfaceSize SaverApp::surfaceSize(int saverMode) {
    switch (saverMode) {
    case SaverFullScreen:
        return screen_ ? SurfaceSize{screen_->width(), screen_->height()} : SurfaceSize{};
    case SaverConfig:
        return config_ ? SurfaceSize{config_->preview->width(), config_->preview->height()} : SurfaceSize{};
    case SaverPreview:
    case SaverHostWindow:
        if (desktop_)
            return desktop_->size();
        if (listen_ && module_.previewAttached)
            return {listen_->preview->width(), listen_->preview->height()};
        return {};
    default:
        return {};
    }
}

Canvas* SaverApp::surfaceCanvas(int saverMode) {
    switch (saverMode) {
    case SaverFullScreen:
        return screen_ ? &screen_->canvas() : nullptr;
    case SaverConfig:
        return config_ ? &config_->preview->canvas() : nullptr;
    case SaverPreview:
    case SaverHostWindow:
        if (desktop_)
            return &desktop_->canvas();
        return listen_ && module_.previewAttached ? &listen_->preview->canvas() : nullptr;
    default:
        return nullptr;
    }
}

void SaverApp::enableTimer(int saverMode) {
    if (ended_)
        return;
    if (saverMode == SaverFullScreen && screen_)
        screen_->tickTimer->start();
    else if (saverMode == SaverConfig && config_)
        config_->tickTimer->start();
    else if (saverMode == SaverHostWindow && desktopTimer_)
        desktopTimer_->start();
    else if ((saverMode == SaverPreview || saverMode == SaverHostWindow) && listen_)
        listen_->tickTimer->start();
}

void SaverApp::letEventsRun() {
    QCoreApplication::processEvents();
}

} // namespace bx

#include "simulatorapp.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QTimer>
#include <chrono>
#include <sstream>
#include <utility>

#include "record/worldpicture.h"

#include "aboutwindow.h"
#include "displaywindow.h"
#include "mainwindow.h"
#include "optionscommands.h"
#include "optionswindow.h"
#include "previewbox.h"
#include "profilecommands.h"
#include "savefile.h"
#include "screensavercommands.h"
#include "splashwindow.h"
#include "statisticswindow.h"
#include "viewoperations.h"

namespace bx {
namespace {

// The windows' keys in the settings store.
constexpr const char* panelPlace = "Panel";
constexpr const char* canvasPlace = "Canvas";
constexpr const char* statisticsPlace = "Statistics";

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

int64_t steadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

SimulatorApp::SimulatorApp(Platform platform, std::unique_ptr<RandomSource> rng)
    : platform_(std::move(platform)), places_(platform_.settings),
      rng_(rng ? std::move(rng) : std::make_unique<RandomGenerator>()), main_(std::make_unique<MainWindow>()),
      display_(std::make_unique<DisplayWindow>()), frameTimer_(new QTimer(this)), clock_(steadyNanoseconds) {
    frameTimer_->setObjectName("frametimer");
    frameTimer_->setSingleShot(true);
    frameTimer_->setTimerType(Qt::PreciseTimer);
    connect(frameTimer_, &QTimer::timeout, this, &SimulatorApp::presentFrame);
    sim_ = std::make_unique<Simulation>(options_, world_, *rng_, *this, *display_);
    optionsWindow_ = std::make_unique<OptionsWindow>(options_, platform_.screen, platform_.colours);
    view_ = std::make_unique<ViewOperations>(options_, world_, *sim_, *main_, *display_, platform_.screen,
                                             platform_.cursor, *optionsWindow_);
    optionsCommands_ =
        std::make_unique<OptionsCommands>(*optionsWindow_, *sim_, *view_, platform_.messages, platform_.help);
    profiles_ = std::make_unique<ProfileCommands>(*sim_, *main_, *optionsWindow_, *optionsCommands_,
                                                  platform_.files, platform_.messages, platform_.profileHome);
    screensaver_ = std::make_unique<ScreensaverCommands>(
        optionsWindow_->screensaverPage(), options_, platform_.settings, platform_.folders,
        platform_.commands, platform_.programs, platform_.messages, platform_.help, platform_.programFolder);
    optionsWindow_->setScreensaverActions(*screensaver_);
    optionsCommands_->setSaveProfile([this] { profiles_->saveProfileAs(); });
    display_->setEvents(view_.get());
    display_->setWaitingSquares([this] { sim_->paintWaiting(); });
    statistics_ = std::make_unique<StatisticsWindow>(history_, options_, platform_.files, platform_.messages,
                                                     saveFolders_);
    view_->setShowStatistics([this] { showStatistics(); });
    view_->setShowHelpContents([this] { platform_.help.showHelp(options_.helpFilePath, HelpContents, 0); });
    profiles_->setLoaded([this] { history_.clear(); }); // rows from the loaded generation on
    connect(statistics_.get(), &StatisticsWindow::hidden, this,
            [this] { places_.keep(statisticsPlace, *statistics_); });
    platform_.help.keepPlaces(&platform_.settings);
    about_ = std::make_unique<AboutWindow>(options_, platform_.messages, platform_.help, platform_.browser);
    connectCommands();
    connectOptionsCommands();
}

SimulatorApp::~SimulatorApp() {
    platform_.help.keepPlaces(nullptr);
    display_->setEvents(nullptr);
    display_->setWaitingSquares(nullptr);
}

void SimulatorApp::connectCommands() {
    using Command = MainWindow::Command;
    MainWindow& m = *main_;
    Simulation& s = *sim_;
    ViewOperations& v = *view_;
    connect(&m, &MainWindow::tickDue, this, &SimulatorApp::wake);
    m.onCommand(Command::StartStop, [&s] { s.startStop(); });
    m.onCommand(Command::Reset, [&s] { s.confirmReset(); });
    m.onCommand(Command::ShowSimulation, [&v] { v.toggleSimulationShown(); });
    m.onCommand(Command::FullScreen, [&v] { v.toggleFullScreen(); });
    m.onCommand(Command::Organisms, [&v] { v.toggleOrganisms(); });
    m.onCommand(Command::Environment, [&v] { v.toggleEnvironment(); });
    m.onCommand(Command::Refresh, [&v] { v.refresh(); });
    connect(&m, &MainWindow::squareSizeMoved, this, [&v](int value) { v.sizechange(value); });
    connect(&m, &MainWindow::slowdownMoved, this, [&v](int value) { v.slowdownChanged(value); });
    m.onCommand(Command::About, [this] { showAbout(); });
    m.onCommand(Command::SavePicture, [this] { savePicture(); });
    m.onCommand(Command::Step, [&s] { s.stepGeneration(); });
    m.onCommand(Command::Statistics, [this] { showStatistics(); });
    m.onCommand(Command::Quit, [this] { shutDown(); });
    connect(&m, &MainWindow::unloadRequested, this, &SimulatorApp::shutDown);
    const auto helpCommand = [this](int command) {
        return [this, command] { platform_.help.showHelp(options_.helpFilePath, command, 0); };
    };
    m.onCommand(Command::HelpWindow, helpCommand(HelpContext));
    m.onCommand(Command::HelpContents, helpCommand(HelpContents));
    m.onCommand(Command::HelpSearch, helpCommand(HelpSearch));
    connectHelpKey();
}

// F1 shows the help's contents from the control panel, as the About box promises (the canvas has
// it in its key table). The key belongs to the window alone, so a message box keeps its own F1
// (its topic).
void SimulatorApp::connectHelpKey() {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), main_.get());
    key->setObjectName("helpkey");
    connect(key, &QShortcut::activated, this, [this] {
        if (world_.fullScreen)
            view_->toggleFullScreen();
        else
            platform_.help.showHelp(options_.helpFilePath, HelpContents, 0);
    });
}

// The options and profile commands of both windows.
void SimulatorApp::connectOptionsCommands() {
    using Command = OptionsWindow::Command;
    MainWindow& m = *main_;
    OptionsWindow& w = *optionsWindow_;
    OptionsCommands& c = *optionsCommands_;
    ProfileCommands& p = *profiles_;
    m.onCommand(MainWindow::Command::Options, [&c] { c.openOptionsWindow(); });
    m.onCommand(MainWindow::Command::SaveProfile, [&c] { c.saveOptionsFromMain(); });
    m.onCommand(MainWindow::Command::Defaults, [&c] { c.resetOptionsToDefaults(); });
    const auto loadQuick = [&p](int index) { p.loadQuickProfile(index); };
    connect(&m, &MainWindow::quickProfileChosen, this, loadQuick);
    connect(&w, &OptionsWindow::quickProfileChosen, this, loadQuick);
    m.onCommand(MainWindow::Command::LoadProfile, [&p] { p.loadProfile(); });
    w.onCommand(Command::LoadProfile, [&p] { p.loadProfile(); });
    w.onCommand(Command::Ok, [&c] { c.okClicked(); });
    w.onCommand(Command::Accept, [&c] { c.acceptOptions(); });
    // Cancel also forgets a screensaver square size chosen but not stored.
    ScreensaverCommands& saver = *screensaver_;
    w.onCommand(Command::Cancel, [&c, &saver] {
        c.cancelOptions();
        saver.cancelled();
    });
    w.onCommand(Command::SaveProfile, [&c] { c.saveAndUseOptions(); });
    w.onCommand(Command::Defaults, [&c] { c.resetOptionsToDefaults(); });
    w.onCommand(Command::HelpWindow, [&c] { c.helpWindow(); });
    w.onCommand(Command::HelpContents, [&c] { c.helpContents(); });
    w.onCommand(Command::HelpSearch, [&c] { c.helpSearch(); });
}

void SimulatorApp::startUp() {
    splash_ = std::make_unique<SplashWindow>(options_);
    splash_->show();
    QCoreApplication::processEvents();
    splash_->start();
    sim_->restoreDefaults(platform_.programFolder + "/bramblex.hlp");
    showIdentity();
    sim_->reset();
    QCoreApplication::processEvents();
    splash_->close();
    placeWindows();
}

// The captions that show the version and title, set with the defaults.
void SimulatorApp::showIdentity() {
    main_->showVersion(qs(options_.versionString));
    if (splash_)
        splash_->showVersion(qs(options_.versionString));
    about_->load();
    optionsWindow_->setWindowTitle(qs(options_.mainTitle + " Options"));
}

// Where the user left them, else the panel at the left of the screen and the world beside it.
// The canvas keeps the size the layout gave it.
void SimulatorApp::placeWindows() {
    if (!places_.restore(panelPlace, *main_, false))
        main_->move(20, 40);
    main_->show();
    if (!places_.restore(canvasPlace, *display_, false))
        display_->move(main_->frameGeometry().right() + 20, 40);
    display_->show();
}

// The canvas in full screen keeps the place it had before.
void SimulatorApp::keepPlaces() {
    places_.keep(panelPlace, *main_);
    if (!world_.fullScreen)
        places_.keep(canvasPlace, *display_);
}

void SimulatorApp::shutDown() {
    if (ending_)
        return;
    ending_ = true;
    keepPlaces();
    main_->setTicking(false);
    frameTimer_->stop();
    if (splash_)
        splash_->close();
    about_->close();
    statistics_->close();
    optionsWindow_->hide();
    display_->unload();
    main_->hide();
    platform_.cursor.restore();
    emit ended();
}

void SimulatorApp::tick() {
    runTick();
    present();
}

// A world slower than a tick a millisecond still lets events run once a frame.
void SimulatorApp::wake() {
    if (inTick_)
        return; // a slice is letting events run
    const int64_t start = clock_();
    for (int due = pace_.due(start); due > 0 && ticking_ && !ending_; --due) {
        runTick();
        if (clock_() - start >= FramePace::frameLength)
            break;
    }
    presentFrame();
}

void SimulatorApp::runTick() {
    inTick_ = true;
    sim_->tick();
    inTick_ = false;
}

void SimulatorApp::presentFrame() {
    const int64_t now = clock_();
    if (frames_.take(now) || !ticking_) {
        frameTimer_->stop();
        present();
    } else if (!frameTimer_->isActive()) {
        frameTimer_->start(static_cast<int>((frames_.wait(now) + 999999) / 1000000));
    }
}

void SimulatorApp::present() {
    if (pendingMainCaption_)
        main_->setWindowTitle(*std::exchange(pendingMainCaption_, std::nullopt));
    if (pendingDisplayCaption_)
        display_->setWindowTitle(*std::exchange(pendingDisplayCaption_, std::nullopt));
    showPendingCounters();
    showPendingReadout();
    display_->flush();
}

void SimulatorApp::showAbout() {
    about_->showAbout();
}

// Where the user left it, else beside the canvas (or the panel while the canvas is hidden).
void SimulatorApp::showStatistics() {
    if (!statistics_->isVisible() && places_.restore(statisticsPlace, *statistics_, true))
        statistics_->open();
    else
        statistics_->open(display_->isVisible() ? static_cast<QWidget*>(display_.get()) : main_.get());
}

void SimulatorApp::savePicture() {
    std::ostringstream png;
    writeWorldPng(png, world_, options_.gridSizeX, options_.gridSizeY, world_.squareSize);
    const FileDialogRequest request{
        "Save Picture:", {}, {{"PNG Pictures (*.png)", "*.png"}, {"All Files (*.*)", "*.*"}}, 1};
    saveTextAs(platform_.files, platform_.messages, saveFolders_, SavedKind::Picture, request, png.str());
}

void SimulatorApp::generationEnded(bool worldWasReset) {
    const GenerationStats row = recorder_.ended(worldWasReset);
    // The last generation of a dead world belongs to the world its reset cleared away.
    if (!worldWasReset)
        history_.add(row);
}

// A caption set outside a tick (a command) is shown at once and replaces one still waiting.
void SimulatorApp::setMainCaption(std::string_view text) {
    pendingMainCaption_ = qs(text);
    if (!inTick_)
        main_->setWindowTitle(*std::exchange(pendingMainCaption_, std::nullopt));
}

void SimulatorApp::setDisplayCaption(std::string_view text) {
    pendingDisplayCaption_ = qs(text);
    if (!inTick_)
        display_->setWindowTitle(*std::exchange(pendingDisplayCaption_, std::nullopt));
}

void SimulatorApp::showCounters(int32_t generation, int32_t organisms, int32_t environments) {
    recorder_.countersShown(generation);
    pendingCounters_ = Counters{generation, organisms, environments};
    if (!inTick_)
        showPendingCounters();
}

void SimulatorApp::showPendingCounters() {
    if (const auto c = std::exchange(pendingCounters_, std::nullopt))
        main_->showCounters(c->generation, c->organisms, c->environments);
}

void SimulatorApp::setCreationCommandsEnabled(bool enabled) {
    main_->setCreationCommandsEnabled(enabled);
    optionsWindow_->setCreationCommandsEnabled(enabled);
}

void SimulatorApp::showRunState(bool running) {
    main_->showRunning(running);
}

void SimulatorApp::setTimerEnabled(bool enabled) {
    if (enabled && !ticking_)
        pace_ = TickPace{}; // the time at rest is not due
    ticking_ = enabled;
    main_->setTicking(enabled);
}

void SimulatorApp::layoutWindows() {
    view_->layoutWindows();
}

void SimulatorApp::worldReset() {
    history_.clear();
    profiles_->refreshProfileMenus();
}

// The read-out a tick refreshes is shown once a frame, like the counters.
void SimulatorApp::showReadout(const Readout& r) {
    pendingReadout_ = r;
    if (!inTick_)
        showPendingReadout();
}

void SimulatorApp::showPendingReadout() {
    if (pendingReadout_)
        main_->showReadout(*std::exchange(pendingReadout_, std::nullopt));
}

void SimulatorApp::clearReadout() {
    pendingReadout_.reset();
    main_->clearReadout();
}

Answer SimulatorApp::ask(const Question& question) {
    return platform_.messages.ask(question);
}

void SimulatorApp::processEvents() {
    QCoreApplication::processEvents();
}

void SimulatorApp::worldCreated(bool saveRequested) {
    // Creation counts the generations from 0 again, also when it seeded over an old world.
    history_.clear();
    if (saveRequested)
        profiles_->saveProfileAs();
}

} // namespace bx

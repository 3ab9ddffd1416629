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
    : platform_(std::move(platform)), rng_(rng ? std::move(rng) : std::make_unique<RandomGenerator>()),
      main_(std::make_unique<MainWindow>()), display_(std::make_unique<DisplayWindow>()),
      frameTimer_(new QTimer(this)), clock_(steadyNanoseconds) {
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
        *optionsWindow_->screensaver, options_, platform_.settings, platform_.folders, platform_.programs,
        platform_.messages, platform_.help, platform_.programFolder);
    optionsWindow_->setScreensaverActions(*screensaver_);
    optionsCommands_->setSaveProfile([this] { profiles_->saveProfileAs(); });
    display_->setEvents(view_.get());
    statistics_ = std::make_unique<StatisticsWindow>(history_, options_, platform_.files, platform_.messages,
                                                     platform_.profileHome);
    view_->setShowStatistics([this] { showStatistics(); });
    profiles_->setLoaded([this] { // the history starts at the loaded generation
        history_.clear();
        history_.setStart(recorder_.standing(world_.generation));
    });
    about_ = std::make_unique<AboutWindow>(options_, platform_.messages, platform_.help, platform_.browser);
    connectCommands();
    connectOptionsCommands();
}

SimulatorApp::~SimulatorApp() {
    display_->setEvents(nullptr);
}

void SimulatorApp::connectCommands() {
    MainWindow& m = *main_;
    Simulation& s = *sim_;
    ViewOperations& v = *view_;
    connect(m.tickTimer, &QTimer::timeout, this, &SimulatorApp::wake);
    auto on = [this](auto* sender, auto signal, auto&& action) { connect(sender, signal, this, action); };
    on(m.startButton, &QPushButton::clicked, [&s] { s.startStop(); });
    on(m.startItem, &QAction::triggered, [&s] { s.startStop(); });
    on(m.resetButton, &QPushButton::clicked, [&s] { s.confirmReset(); });
    on(m.resetItem, &QAction::triggered, [&s] { s.confirmReset(); });
    on(m.simulationButton, &QPushButton::clicked, [&v] { v.toggleSimulationShown(); });
    on(m.simulationItem, &QAction::triggered, [&v] { v.toggleSimulationShown(); });
    on(m.maximizeButton, &QPushButton::clicked, [&v] { v.toggleFullScreen(); });
    on(m.maximizeItem, &QAction::triggered, [&v] { v.toggleFullScreen(); });
    on(m.organismsButton, &QPushButton::clicked, [&v] { v.toggleOrganisms(); });
    on(m.organismsItem, &QAction::triggered, [&v] { v.toggleOrganisms(); });
    on(m.environmentButton, &QPushButton::clicked, [&v] { v.toggleEnvironment(); });
    on(m.environmentItem, &QAction::triggered, [&v] { v.toggleEnvironment(); });
    on(m.refreshItem, &QAction::triggered, [&v] { v.refresh(); });
    on(m.squareSizeSlider, &QSlider::valueChanged, [&v](int value) { v.sizechange(value); });
    on(m.slowdownSlider, &QSlider::valueChanged, [&v](int value) { v.slowdownChanged(value); });
    on(m.aboutItem, &QAction::triggered, [this] { showAbout(); });
    on(m.savePictureItem, &QAction::triggered, [this] { savePicture(); });
    on(m.stepItem, &QAction::triggered, [&s] { s.stepGeneration(); });
    on(m.statisticsItem, &QAction::triggered, [this] { showStatistics(); });
    on(m.quitItem, &QAction::triggered, [this] { shutDown(); });
    connect(&m, &MainWindow::unloadRequested, this, &SimulatorApp::shutDown);
    const auto helpCommand = [this](int command) {
        return [this, command] { platform_.help.showHelp(options_.helpFilePath, command, 0); };
    };
    on(m.helpWindowItem, &QAction::triggered, helpCommand(HelpContext));
    on(m.helpContentsItem, &QAction::triggered, helpCommand(HelpContents));
    on(m.helpSearchItem, &QAction::triggered, helpCommand(HelpSearch));
    connectHelpKey();
}

// F1 shows the help's contents from the control panel and the canvas, as the About box promises.
// The key belongs to each window alone, so a message box keeps its own F1 (its topic); in full
// screen it is a key like any other and only leaves it.
void SimulatorApp::connectHelpKey() {
    for (QWidget* window : {static_cast<QWidget*>(main_.get()), static_cast<QWidget*>(display_.get())}) {
        auto* key = new QShortcut(QKeySequence(Qt::Key_F1), window);
        key->setObjectName("helpkey");
        connect(key, &QShortcut::activated, this, [this] {
            if (world_.fullScreen)
                view_->toggleFullScreen();
            else
                platform_.help.showHelp(options_.helpFilePath, HelpContents, 0);
        });
    }
}

// The options and profile commands of both windows.
void SimulatorApp::connectOptionsCommands() {
    MainWindow& m = *main_;
    OptionsWindow& w = *optionsWindow_;
    OptionsCommands& c = *optionsCommands_;
    ProfileCommands& p = *profiles_;
    auto on = [this](auto* sender, auto signal, auto&& action) { connect(sender, signal, this, action); };
    on(m.optionsItem, &QAction::triggered, [&c] { c.openOptionsWindow(); });
    on(m.saveButton, &QPushButton::clicked, [&c] { c.saveOptionsFromMain(); });
    on(m.saveItem, &QAction::triggered, [&c] { c.saveOptionsFromMain(); });
    on(m.defaultsItem, &QAction::triggered, [&c] { c.resetOptionsToDefaults(); });
    on(m.loadButton, &QPushButton::clicked, [&p] { p.loadProfile(""); });
    for (QAction* a : {m.loadItem, m.moreProfilesItem, w.loadItem, w.moreProfilesItem})
        on(a, &QAction::triggered, [&p] { p.loadProfile(""); });
    on(w.loadButton, &QPushButton::clicked, [&p] { p.loadProfile(""); });
    for (int k = 0; k < 7; ++k) {
        on(m.profileItems[k], &QAction::triggered, [&p, k] { p.loadQuickProfile(k + 2); });
        on(w.profileItems[k], &QAction::triggered, [&p, k] { p.loadQuickProfile(k + 2); });
    }
    on(w.okButton, &QPushButton::clicked, [&c] { c.okClicked(); });
    on(w.acceptItem, &QAction::triggered, [&c] { c.acceptOptions(); });
    // Cancel also forgets a screensaver square size chosen but not stored.
    ScreensaverCommands& saver = *screensaver_;
    const auto cancel = [&c, &saver] {
        c.cancelOptions();
        saver.cancelled();
    };
    on(w.cancelButton, &QPushButton::clicked, cancel);
    on(w.cancelItem, &QAction::triggered, cancel);
    on(&w, &OptionsWindow::cancelRequested, cancel);
    on(w.saveButton, &QPushButton::clicked, [&c] { c.saveAndUseOptions(); });
    on(w.saveItem, &QAction::triggered, [&c] { c.saveAndUseOptions(); });
    on(w.defaultsButton, &QPushButton::clicked, [&c] { c.resetOptionsToDefaults(); });
    on(w.resetToDefaultsItem, &QAction::triggered, [&c] { c.resetOptionsToDefaults(); });
    on(w.defaultsItem, &QAction::triggered, [&c] { c.resetOptionsToDefaults(); });
    on(w.helpWindowItem, &QAction::triggered, [&c] { c.helpWindow(); });
    on(w.helpContentsItem, &QAction::triggered, [&c] { c.helpContents(); });
    on(w.helpSearchItem, &QAction::triggered, [&c] { c.helpSearch(); });
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
    main_->versionLabel->setText(qs(options_.versionString));
    if (splash_)
        splash_->versionLabel->setText(qs(options_.versionString));
    about_->load();
    optionsWindow_->setWindowTitle(qs(options_.mainTitle + " Options"));
}

// The panel at the left of the screen, the world beside it.
void SimulatorApp::placeWindows() {
    main_->move(20, 40);
    main_->show();
    display_->move(main_->frameGeometry().right() + 20, 40);
    display_->show();
}

void SimulatorApp::shutDown() {
    if (ending_)
        return;
    ending_ = true;
    main_->tickTimer->stop();
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

void SimulatorApp::showStatistics() {
    statistics_->open(display_->isVisible() ? static_cast<QWidget*>(display_.get()) : main_.get());
}

void SimulatorApp::savePicture() {
    std::ostringstream png;
    writeWorldPng(png, world_, options_.gridSizeX, options_.gridSizeY, world_.squareSize);
    const FileDialogRequest request{"Save Picture:",
                                    platform_.profileHome,
                                    {{"PNG Pictures (*.png)", "*.png"}, {"All Files (*.*)", "*.*"}},
                                    1};
    saveTextAs(platform_.files, platform_.messages, request, png.str());
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
    recorder_.countersShown(generation, organisms, environments);
    pendingCounters_ = Counters{generation, organisms, environments};
    if (!inTick_)
        showPendingCounters();
}

void SimulatorApp::showPendingCounters() {
    if (const auto c = std::exchange(pendingCounters_, std::nullopt)) {
        main_->generationLabel->setText(QString::number(c->generation));
        main_->organismsLabel->setText(QString::number(c->organisms));
        main_->environmentsLabel->setText(QString::number(c->environments));
    }
}

void SimulatorApp::setCreationCommandsEnabled(bool enabled) {
    for (QAction* a : {main_->startItem, main_->saveItem, main_->refreshItem})
        a->setEnabled(enabled);
    for (QPushButton* b : {main_->startButton, main_->saveButton})
        b->setEnabled(enabled);
    optionsWindow_->setCreationCommandsEnabled(enabled);
}

void SimulatorApp::showRunState(bool running) {
    main_->startItem->setText(running ? "Stop" : "Start");
    main_->startButton->setText(running ? "Stop Sim&ulation" : "Start Sim&ulation");
    main_->stepItem->setEnabled(!running); // a running simulation has no single step to take
}

void SimulatorApp::setTimerEnabled(bool enabled) {
    if (enabled && !ticking_)
        pace_ = TickPace{}; // the time at rest is not due
    ticking_ = enabled;
    if (enabled && !main_->tickTimer->isActive())
        main_->tickTimer->start();
    else if (!enabled)
        main_->tickTimer->stop();
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
    if (!pendingReadout_)
        return;
    const Readout r = *std::exchange(pendingReadout_, std::nullopt);
    MainWindow& m = *main_;
    m.squareLabel->setText(QString::number(r.column) + "," + QString::number(r.row));
    m.organismRedLabel->setText(QString::number(r.orgRed));
    m.organismGreenLabel->setText(QString::number(r.orgGreen));
    m.organismBlueLabel->setText(QString::number(r.orgBlue));
    m.environmentRedLabel->setText(QString::number(r.envRed));
    m.environmentGreenLabel->setText(QString::number(r.envGreen));
    m.environmentBlueLabel->setText(QString::number(r.envBlue));
    m.colourSample->showColours(packColour(r.orgRed, r.orgGreen, r.orgBlue),
                                packColour(r.envRed, r.envGreen, r.envBlue));
}

void SimulatorApp::clearReadout() {
    pendingReadout_.reset();
    MainWindow& m = *main_;
    for (QLabel* l : {m.organismRedLabel, m.organismGreenLabel, m.organismBlueLabel, m.environmentRedLabel,
                      m.environmentGreenLabel, m.environmentBlueLabel, m.squareLabel})
        l->clear();
    m.colourSample->clearColours();
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
    history_.setStart(recorder_.standing(world_.generation));
    if (saveRequested)
        profiles_->saveProfileAs();
}

} // namespace bx

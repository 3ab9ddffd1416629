#include "simulatorapp.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <utility>

#include "aboutwindow.h"
#include "displaywindow.h"
#include "mainwindow.h"
#include "optionscommands.h"
#include "optionswindow.h"
#include "previewbox.h"
#include "profilecommands.h"
#include "screensavercommands.h"
#include "splashwindow.h"
#include "viewoperations.h"

namespace bx {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

SimulatorApp::SimulatorApp(Platform platform, std::unique_ptr<RandomSource> rng)
    : platform_(std::move(platform)), rng_(rng ? std::move(rng) : std::make_unique<RandomGenerator>()),
      main_(std::make_unique<MainWindow>()), display_(std::make_unique<DisplayWindow>()) {
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
    display_->setEvents(view_.get());
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
    connect(m.Timer1, &QTimer::timeout, this, &SimulatorApp::tick);
    auto on = [this](auto* sender, auto signal, auto&& action) { connect(sender, signal, this, action); };
    on(m.startsim, &QPushButton::clicked, [&s] { s.startStop(); });
    on(m.start, &QAction::triggered, [&s] { s.startStop(); });
    on(m.resetsim, &QPushButton::clicked, [&s] { s.confirmReset(); });
    on(m.reset, &QAction::triggered, [&s] { s.confirmReset(); });
    on(m.swapsim, &QPushButton::clicked, [&v] { v.toggleSimulationShown(); });
    on(m.hidesim, &QAction::triggered, [&v] { v.toggleSimulationShown(); });
    on(m.maxi, &QPushButton::clicked, [&v] { v.toggleFullScreen(); });
    on(m.maximize, &QAction::triggered, [&v] { v.toggleFullScreen(); });
    on(m.switchorg, &QPushButton::clicked, [&v] { v.toggleOrganisms(); });
    on(m.switchorgmenu, &QAction::triggered, [&v] { v.toggleOrganisms(); });
    on(m.switchenv, &QPushButton::clicked, [&v] { v.toggleEnvironment(); });
    on(m.switchenvmenu, &QAction::triggered, [&v] { v.toggleEnvironment(); });
    on(m.refreshmenu, &QAction::triggered, [&v] { v.refresh(); });
    on(m.Slider1, &QSlider::valueChanged, [&v](int value) { v.sizechange(value); });
    on(m.slowdownslider, &QSlider::valueChanged, [&v](int value) { v.slowdownChanged(value); });
    on(m.about, &QAction::triggered, [this] { showAbout(); });
    on(m.quit, &QAction::triggered, [this] { shutDown(); });
    connect(&m, &MainWindow::unloadRequested, this, &SimulatorApp::shutDown);
    const auto helpCommand = [this](int command) {
        return [this, command] { platform_.help.showHelp(options_.helpFilePath, command, 0); };
    };
    on(m.help, &QAction::triggered, helpCommand(HelpContext));
    on(m.help2menu, &QAction::triggered, helpCommand(HelpContents));
    on(m.help4menu, &QAction::triggered, helpCommand(HelpSearch));
}

// The options and profile commands of both windows.
void SimulatorApp::connectOptionsCommands() {
    MainWindow& m = *main_;
    OptionsWindow& w = *optionsWindow_;
    OptionsCommands& c = *optionsCommands_;
    ProfileCommands& p = *profiles_;
    auto on = [this](auto* sender, auto signal, auto&& action) { connect(sender, signal, this, action); };
    on(m.options2, &QAction::triggered, [&c] { c.openOptionsWindow(); });
    on(m.savesim, &QPushButton::clicked, [&c] { c.saveOptionsFromMain(); });
    on(m.save, &QAction::triggered, [&c] { c.saveOptionsFromMain(); });
    on(m.defmenu, &QAction::triggered, [&c] { c.resetOptionsToDefaults(); });
    on(m.loadsim, &QPushButton::clicked, [&p] { p.loadProfile(""); });
    for (QAction* a : {m.load, m.moreprof, w.loadmenu, w.moreprof})
        on(a, &QAction::triggered, [&p] { p.loadProfile(""); });
    on(w.Command2, &QPushButton::clicked, [&p] { p.loadProfile(""); });
    for (int k = 0; k < 7; ++k) {
        on(m.profileItems[k], &QAction::triggered, [&p, k] { p.loadQuickProfile(k + 2); });
        on(w.profileItems[k], &QAction::triggered, [&p, k] { p.loadQuickProfile(k + 2); });
    }
    on(w.okbutton, &QPushButton::clicked, [&c] { c.okClicked(); });
    on(w.acceptmenu, &QAction::triggered, [&c] { c.acceptOptions(); });
    // Cancel also forgets a screensaver square size chosen but not stored.
    ScreensaverCommands& saver = *screensaver_;
    const auto cancel = [&c, &saver] {
        c.cancelOptions();
        saver.cancelled();
    };
    on(w.cancelbutton, &QPushButton::clicked, cancel);
    on(w.cancelmenu, &QAction::triggered, cancel);
    on(&w, &OptionsWindow::cancelRequested, cancel);
    on(w.Command1, &QPushButton::clicked, [&c] { c.saveAndUseOptions(); });
    on(w.savemenu, &QAction::triggered, [&c] { c.saveAndUseOptions(); });
    on(w.defaultsbutton, &QPushButton::clicked, [&c] { c.resetOptionsToDefaults(); });
    on(w.resetmenu, &QAction::triggered, [&c] { c.resetOptionsToDefaults(); });
    on(w.defaultmenu, &QAction::triggered, [&c] { c.resetOptionsToDefaults(); });
    on(w.helpwindow, &QAction::triggered, [&c] { c.helpWindow(); });
    on(w.helpcontents, &QAction::triggered, [&c] { c.helpContents(); });
    on(w.helpsearch, &QAction::triggered, [&c] { c.helpSearch(); });
}

void SimulatorApp::startUp() {
    splash_ = std::make_unique<SplashWindow>(options_);
    splash_->show();
    QCoreApplication::processEvents();
    splash_->start();
    setDefaultOptions(options_, world_, simulatorMajorVersion, simulatorMinorVersion,
                      platform_.programFolder + "/bramblex.hlp");
    showIdentity();
    sim_->reset();
    QCoreApplication::processEvents();
    splash_->close();
    placeWindows();
}

// The captions that show the version and title, set with the defaults.
void SimulatorApp::showIdentity() {
    main_->versionlabel->setText(qs(options_.versionString));
    if (splash_)
        splash_->versionlabel2->setText(qs(options_.versionString));
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
    main_->Timer1->stop();
    if (splash_)
        splash_->close();
    about_->close();
    optionsWindow_->hide();
    display_->unload();
    main_->hide();
    platform_.cursor.restore();
    emit ended();
}

void SimulatorApp::tick() {
    inTick_ = true;
    sim_->tick();
    inTick_ = false;
    if (pendingMainCaption_)
        main_->setWindowTitle(*std::exchange(pendingMainCaption_, std::nullopt));
    if (pendingDisplayCaption_)
        display_->setWindowTitle(*std::exchange(pendingDisplayCaption_, std::nullopt));
    display_->flush();
}

void SimulatorApp::showAbout() {
    about_->showAbout();
}

void SimulatorApp::setMainCaption(std::string_view text) {
    if (inTick_)
        pendingMainCaption_ = qs(text);
    else
        main_->setWindowTitle(qs(text));
}

void SimulatorApp::setDisplayCaption(std::string_view text) {
    if (inTick_)
        pendingDisplayCaption_ = qs(text);
    else
        display_->setWindowTitle(qs(text));
}

void SimulatorApp::showCounters(int32_t generation, int32_t organisms, int32_t environments) {
    main_->generation->setText(QString::number(generation));
    main_->orgs->setText(QString::number(organisms));
    main_->envs->setText(QString::number(environments));
}

void SimulatorApp::setCreationCommandsEnabled(bool enabled) {
    for (QAction* a : {main_->start, main_->save, main_->refreshmenu})
        a->setEnabled(enabled);
    for (QPushButton* b : {main_->startsim, main_->savesim})
        b->setEnabled(enabled);
    optionsWindow_->setCreationCommandsEnabled(enabled);
}

void SimulatorApp::showRunState(bool running) {
    main_->start->setText(running ? "Stop" : "Start");
    main_->startsim->setText(running ? "Stop Sim&ulation" : "Start Sim&ulation");
}

void SimulatorApp::setTimerEnabled(bool enabled) {
    if (enabled && !main_->Timer1->isActive())
        main_->Timer1->start();
    else if (!enabled)
        main_->Timer1->stop();
}

void SimulatorApp::layoutWindows() {
    view_->layoutWindows();
}

void SimulatorApp::refreshProfileMenus() {
    profiles_->refreshProfileMenus();
}

void SimulatorApp::showReadout(const Readout& r) {
    MainWindow& m = *main_;
    m.csquare->setText(QString::number(r.column) + "," + QString::number(r.row));
    m.orgred->setText(QString::number(r.orgRed));
    m.orggreen->setText(QString::number(r.orgGreen));
    m.orgblue->setText(QString::number(r.orgBlue));
    m.envred->setText(QString::number(r.envRed));
    m.envgreen->setText(QString::number(r.envGreen));
    m.envblue->setText(QString::number(r.envBlue));
    m.preview->showColours(packColour(r.orgRed, r.orgGreen, r.orgBlue),
                           packColour(r.envRed, r.envGreen, r.envBlue));
}

void SimulatorApp::clearReadout() {
    MainWindow& m = *main_;
    for (QLabel* l : {m.orgred, m.orggreen, m.orgblue, m.envred, m.envgreen, m.envblue, m.csquare})
        l->clear();
    m.preview->clearColours();
}

Answer SimulatorApp::ask(const Question& question) {
    return platform_.messages.ask(question);
}

void SimulatorApp::processEvents() {
    QCoreApplication::processEvents();
}

void SimulatorApp::saveProfileAs() {
    profiles_->saveProfileAs();
}

} // namespace bx

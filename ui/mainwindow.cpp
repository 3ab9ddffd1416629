#include "mainwindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/colour.h"
#include "platform/widgetparts.h"
#include "previewbox.h"

namespace bx {
namespace {

template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

QPushButton* button(const char* name, const char* caption) {
    return named(new QPushButton(caption), name);
}

QLabel* valueLabel(const char* name, const char* text = "") {
    QLabel* l = named(new QLabel(text), name);
    l->setMinimumWidth(36);
    return l;
}

QString slowdownCaption(int slowdown) {
    if (slowdown == 0)
        return "None";
    return slowdown > 0 ? "+" + QString::number(slowdown) : QString::number(slowdown);
}

// A hide/show toggle's button and menu entry say what they would do next.
void showToggle(QPushButton* button, QAction* entry, bool shown, const char* name) {
    const QString caption = QString(shown ? "Hide " : "Show ") + name;
    button->setText(caption);
    entry->setText(caption);
}

// The banner at the top of the panel: the program's name over a strip of coloured squares,
// painted at the screen's own pixels so that it stays sharp at any scale (QT_SCALE_FACTOR=2).
class Banner : public QLabel {
public:
    Banner() { setFixedSize(240, 48); }

protected:
    void paintEvent(QPaintEvent*) override;
};

void Banner::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const QColor colours[] = {QColor(200, 40, 40), QColor(40, 60, 200), QColor(230, 210, 40),
                              QColor(40, 170, 80)};
    for (int i = 0; i < 30; ++i) {
        p.fillRect(i * 8, 40, 8, 8, colours[(i * 7) % 4]);
        p.fillRect(i * 8, 40, 4, 4, colours[(i * 3 + 1) % 4]);
    }
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPointSize(18);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 0, 240, 40), Qt::AlignCenter, "Bramblex 2");
}

} // namespace

MainWindow::MainWindow() {
    setObjectName("mainwindow");
    tickTimer = named(new QTimer(this), "Timer1");
    tickTimer->setInterval(4); // a wake runs the ticks due (SimulatorApp::wake)
    tickTimer->setTimerType(Qt::PreciseTimer);
    setCentralWidget(buildControls());
    buildMenus();
    listCommands();
    connectControls();
    // A fixed panel: captions that change leave its width alone, and it cannot be maximised
    // (its controls would only spread over the screen).
    reserveCaptions(startButton, {"Start Sim&ulation", "Stop Sim&ulation"});
    reserveCaptions(simulationButton, {"Hide S&imulation", "Show S&imulation"});
    reserveCaptions(organismsButton, {"Hide Or&ganisms", "Show Or&ganisms"});
    reserveCaptions(environmentButton, {"Hide &Environment", "Show &Environment"});
    generationLabel->setMinimumWidth(generationLabel->fontMetrics().horizontalAdvance("2147483647"));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
}

QWidget* MainWindow::buildControls() {
    auto* central = new QWidget;
    auto* grid = new QGridLayout(central);
    banner = named(new Banner, "Picture1");
    versionLabel = valueLabel("versionlabel");
    versionLabel->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    profileList = named(new QListWidget, "File1");
    profileList->hide(); // lists the profile files for the menus; never shown
    grid->addWidget(banner, 0, 0);
    grid->addWidget(versionLabel, 0, 1);
    grid->addWidget(buildSimulationControls(), 1, 0);
    grid->addWidget(buildGraphicControls(), 1, 1);
    grid->addWidget(buildSquareSize(), 2, 0);
    grid->addWidget(buildSlowdown(), 2, 1);
    grid->addWidget(buildCurrentSquare(), 3, 0);
    grid->addWidget(buildInformation(), 3, 1);
    grid->addWidget(profileList, 4, 0);
    return central;
}

// A frame of three buttons over a fourth (or two over two), as the panel's command frames are.
static QGroupBox* buttonFrame(const char* caption, std::initializer_list<QPushButton*> firstRow,
                              std::initializer_list<QPushButton*> secondRow) {
    auto* box = new QGroupBox(caption);
    auto* layout = new QGridLayout(box);
    int column = 0;
    for (QPushButton* b : firstRow)
        layout->addWidget(b, 0, column++);
    column = 0;
    for (QPushButton* b : secondRow)
        layout->addWidget(b, 1, column++, 1, secondRow.size() == 1 ? int(firstRow.size()) : 1);
    return box;
}

QGroupBox* MainWindow::buildSimulationControls() {
    resetButton = button("resetsim", "Rese&t");
    saveButton = button("savesim", "Sa&ve");
    loadButton = button("loadsim", "Lo&ad");
    startButton = button("startsim", "Start Sim&ulation");
    return buttonFrame("Simulation Controls", {resetButton, saveButton, loadButton}, {startButton});
}

QGroupBox* MainWindow::buildGraphicControls() {
    simulationButton = button("swapsim", "Hide S&imulation");
    maximizeButton = button("maxi", "&Maximize");
    organismsButton = button("switchorg", "Hide Or&ganisms");
    environmentButton = button("switchenv", "Hide &Environment");
    return buttonFrame("Graphic Controls", {simulationButton, maximizeButton},
                       {organismsButton, environmentButton});
}

QGroupBox* MainWindow::buildSquareSize() {
    auto* box = new QGroupBox("S&quare Size");
    auto* layout = new QHBoxLayout(box);
    squareSizeSlider = named(new QSlider(Qt::Horizontal), "Slider1");
    squareSizeSlider->setRange(1, 8);
    squareSizeSlider->setPageStep(1);
    squareSizeSlider->setTickPosition(QSlider::TicksBelow);
    squareSizeSlider->setValue(4);
    squareSizeLabel = valueLabel("sizelabel", "x 4");
    layout->addWidget(squareSizeSlider, 1);
    layout->addWidget(squareSizeLabel);
    box->setFocusProxy(squareSizeSlider);
    return box;
}

QGroupBox* MainWindow::buildSlowdown() {
    auto* box = new QGroupBox("S&lowdown Factor");
    auto* layout = new QHBoxLayout(box);
    slowdownSlider = named(new QSlider(Qt::Horizontal), "slowdownslider");
    slowdownSlider->setRange(-5, 5);
    slowdownSlider->setPageStep(1);
    slowdownSlider->setTickPosition(QSlider::TicksBelow);
    slowdownSlider->setValue(0);
    slowdownLabel = valueLabel("slowdowntext", "None");
    layout->addWidget(slowdownSlider, 1);
    layout->addWidget(slowdownLabel);
    box->setFocusProxy(slowdownSlider);
    return box;
}

QGroupBox* MainWindow::buildCurrentSquare() {
    auto* box = new QGroupBox("Current Square");
    auto* layout = new QGridLayout(box);
    colourSample = new PreviewBox;
    squareLabel = valueLabel("csquare");
    squareLabel->setAlignment(Qt::AlignCenter);
    auto component = [](QGroupBox* frame, QLabel*& red, QLabel*& green, QLabel*& blue, const char* r,
                        const char* g, const char* b) {
        auto* l = new QGridLayout(frame);
        red = valueLabel(r, "0");
        green = valueLabel(g, "0");
        blue = valueLabel(b, "0");
        l->addWidget(new QLabel("R:"), 0, 0);
        l->addWidget(red, 0, 1);
        l->addWidget(new QLabel("G:"), 1, 0);
        l->addWidget(green, 1, 1);
        l->addWidget(new QLabel("B:"), 2, 0);
        l->addWidget(blue, 2, 1);
    };
    auto* organism = new QGroupBox("Organism");
    auto* environment = new QGroupBox("Environment");
    component(organism, organismRedLabel, organismGreenLabel, organismBlueLabel, "orgred", "orggreen",
              "orgblue");
    component(environment, environmentRedLabel, environmentGreenLabel, environmentBlueLabel, "envred",
              "envgreen", "envblue");
    layout->addWidget(colourSample, 0, 0, Qt::AlignCenter);
    layout->addWidget(squareLabel, 1, 0);
    layout->addWidget(organism, 0, 1, 2, 1);
    layout->addWidget(environment, 0, 2, 2, 1);
    return box;
}

QGroupBox* MainWindow::buildInformation() {
    auto* box = new QGroupBox("Simulation Information");
    auto* layout = new QGridLayout(box);
    generationLabel = valueLabel("generation", "0");
    organismsLabel = valueLabel("orgs", "0");
    environmentsLabel = valueLabel("envs", "0");
    layout->addWidget(new QLabel("Generation:"), 0, 0);
    layout->addWidget(generationLabel, 0, 1);
    layout->addWidget(new QLabel("Organisms:"), 1, 0);
    layout->addWidget(organismsLabel, 1, 1);
    layout->addWidget(new QLabel("Environments:"), 2, 0);
    layout->addWidget(environmentsLabel, 2, 1);
    layout->setColumnStretch(1, 1);
    return box;
}

void MainWindow::buildMenus() {
    auto menu = [this](const char* name, const char* caption) { return namedMenu(menuBar(), name, caption); };
    auto entry = [](QMenu* m, const char* name, const char* caption, const QKeySequence& keys = {}) {
        return namedEntry(m, name, caption, keys);
    };
    const auto separator = namedSeparator;
    programMenu = menu("program", "&Program");
    helpWindowItem = entry(programMenu, "help", "Help - &Window", Qt::Key_F2);
    helpContentsItem = entry(programMenu, "help2menu", "Help - &Contents", Qt::Key_F3);
    helpSearchItem = entry(programMenu, "help4menu", "Help - &Search", Qt::Key_F4);
    separator(programMenu, "sep1");
    savePictureItem = entry(programMenu, "savepicture", "Save &Picture…", Qt::CTRL | Qt::Key_P);
    aboutItem = entry(programMenu, "about", "&About", Qt::CTRL | Qt::Key_A);
    quitItem = entry(programMenu, "quit", "&Quit", Qt::CTRL | Qt::Key_Q);

    simulationMenu = menu("simulation", "&Simulation");
    startItem = entry(simulationMenu, "start", "&Start Simulation", Qt::CTRL | Qt::Key_S);
    stepItem = entry(simulationMenu, "stepgeneration", "Step &Generation", Qt::CTRL | Qt::Key_N);
    resetItem = entry(simulationMenu, "reset", "&Reset", Qt::CTRL | Qt::Key_X);

    viewMenu = menu("sep2", "&View");
    refreshItem = entry(viewMenu, "refreshmenu", "&Refresh", Qt::CTRL | Qt::Key_R);
    simulationItem = entry(viewMenu, "hidesim", "Hide &Simulation", Qt::CTRL | Qt::Key_H);
    environmentItem = entry(viewMenu, "switchenvmenu", "Hide &Environment", Qt::CTRL | Qt::Key_E);
    organismsItem = entry(viewMenu, "switchorgmenu", "Hide &Organisms", Qt::CTRL | Qt::Key_O);
    maximizeItem = entry(viewMenu, "maximize", "&Maximize", Qt::CTRL | Qt::Key_M);
    statisticsItem = entry(viewMenu, "statistics", "S&tatistics", Qt::Key_F6);

    optionsMenu = menu("options", "&Options");
    optionsItem = entry(optionsMenu, "options2", "&Options", Qt::Key_F5);

    profilesMenu = menu("profmenu", "P&rofiles");
    loadItem = entry(profilesMenu, "load", "&Load", Qt::Key_F7);
    saveItem = entry(profilesMenu, "save", "&Save", Qt::Key_F8);
    defaultsSeparator = separator(profilesMenu, "sep3");
    defaultsItem = entry(profilesMenu, "defmenu", "&Defaults", Qt::CTRL | Qt::Key_F1);
    profileItems = addQuickProfileItems(profilesMenu);
    moreProfilesSeparator = separator(profilesMenu, "sep8");
    moreProfilesItem = entry(profilesMenu, "moreprof", "&More Profiles..");
}

void MainWindow::closeEvent(QCloseEvent* e) {
    // The program decides: closing the control panel ends it.
    e->ignore();
    emit unloadRequested();
}

void MainWindow::setProfileNames(const QStringList& captions) {
    showQuickProfiles(profileItems, moreProfilesSeparator, moreProfilesItem, captions);
}

void MainWindow::listCommands() {
    commands_ = {
        {Command::StartStop, {{startButton}, {startItem}}},
        {Command::Step, {{}, {stepItem}}},
        {Command::Reset, {{resetButton}, {resetItem}}},
        {Command::ShowSimulation, {{simulationButton}, {simulationItem}}},
        {Command::FullScreen, {{maximizeButton}, {maximizeItem}}},
        {Command::Organisms, {{organismsButton}, {organismsItem}}},
        {Command::Environment, {{environmentButton}, {environmentItem}}},
        {Command::Refresh, {{}, {refreshItem}}},
        {Command::Statistics, {{}, {statisticsItem}}},
        {Command::SavePicture, {{}, {savePictureItem}}},
        {Command::About, {{}, {aboutItem}}},
        {Command::Quit, {{}, {quitItem}}},
        {Command::HelpWindow, {{}, {helpWindowItem}}},
        {Command::HelpContents, {{}, {helpContentsItem}}},
        {Command::HelpSearch, {{}, {helpSearchItem}}},
        {Command::Options, {{}, {optionsItem}}},
        {Command::LoadProfile, {{loadButton}, {loadItem, moreProfilesItem}}},
        {Command::SaveProfile, {{saveButton}, {saveItem}}},
        {Command::Defaults, {{}, {defaultsItem}}},
    };
}

// The sliders' captions follow them; the timer and the quick entries are reported as they are.
void MainWindow::connectControls() {
    connect(squareSizeSlider, &QSlider::valueChanged, this, [this](int setting) {
        squareSizeLabel->setText("x " + QString::number(setting));
        emit squareSizeMoved(setting);
    });
    connect(slowdownSlider, &QSlider::valueChanged, this, [this](int slowdown) {
        slowdownLabel->setText(slowdownCaption(slowdown));
        emit slowdownMoved(slowdown);
    });
    connect(tickTimer, &QTimer::timeout, this, &MainWindow::tickDue);
    for (int k = 0; k < quickProfileCount; ++k)
        connect(profileItems[k], &QAction::triggered, this, [this, k] { emit quickProfileChosen(k + 2); });
}

void MainWindow::onCommand(Command command, const std::function<void()>& action) {
    commands_.at(command).connect(this, action);
}

void MainWindow::setTicking(bool ticking) {
    if (!ticking)
        tickTimer->stop();
    else if (!tickTimer->isActive()) // a running timer keeps its beat
        tickTimer->start();
}

void MainWindow::showVersion(const QString& version) {
    versionLabel->setText(version);
}

void MainWindow::showCounters(int32_t generation, int32_t organisms, int32_t environments) {
    generationLabel->setText(QString::number(generation));
    organismsLabel->setText(QString::number(organisms));
    environmentsLabel->setText(QString::number(environments));
}

void MainWindow::showReadout(const Readout& r) {
    squareLabel->setText(QString::number(r.column) + "," + QString::number(r.row));
    organismRedLabel->setText(QString::number(r.orgRed));
    organismGreenLabel->setText(QString::number(r.orgGreen));
    organismBlueLabel->setText(QString::number(r.orgBlue));
    environmentRedLabel->setText(QString::number(r.envRed));
    environmentGreenLabel->setText(QString::number(r.envGreen));
    environmentBlueLabel->setText(QString::number(r.envBlue));
    colourSample->showColours(packColour(r.orgRed, r.orgGreen, r.orgBlue),
                              packColour(r.envRed, r.envGreen, r.envBlue));
}

void MainWindow::clearReadout() {
    for (QLabel* l : {organismRedLabel, organismGreenLabel, organismBlueLabel, environmentRedLabel,
                      environmentGreenLabel, environmentBlueLabel, squareLabel})
        l->clear();
    colourSample->clearColours();
}

void MainWindow::showRunning(bool running) {
    startItem->setText(running ? "Stop" : "Start");
    startButton->setText(running ? "Stop Sim&ulation" : "Start Sim&ulation");
    stepItem->setEnabled(!running);
}

void MainWindow::setCreationCommandsEnabled(bool enabled) {
    for (QAction* a : {startItem, saveItem, refreshItem})
        a->setEnabled(enabled);
    for (QPushButton* b : {startButton, saveButton})
        b->setEnabled(enabled);
}

void MainWindow::showSimulationShown(bool shown) {
    showToggle(simulationButton, simulationItem, shown, "S&imulation");
}

void MainWindow::showOrganismsShown(bool shown) {
    showToggle(organismsButton, organismsItem, shown, "Or&ganisms");
}

void MainWindow::showEnvironmentShown(bool shown) {
    showToggle(environmentButton, environmentItem, shown, "&Environment");
}

int MainWindow::squareSizeSetting() const {
    return squareSizeSlider->value();
}

void MainWindow::setSquareSizeSetting(int setting) {
    {
        const QSignalBlocker quiet(squareSizeSlider);
        squareSizeSlider->setValue(setting);
    }
    squareSizeLabel->setText("x " + QString::number(squareSizeSlider->value()));
}

void MainWindow::showSlowdown(int slowdown) {
    {
        const QSignalBlocker quiet(slowdownSlider);
        slowdownSlider->setValue(slowdown);
    }
    slowdownLabel->setText(slowdownCaption(slowdownSlider->value()));
}

void MainWindow::setProfileFiles(const QStringList& files) {
    profileList->clear();
    profileList->addItems(files);
}

} // namespace bx

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
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

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

// The banner at the top of the panel: the program's name over a strip of coloured squares.
QPixmap bannerPicture() {
    QPixmap pm(240, 48);
    pm.fill(Qt::black);
    QPainter p(&pm);
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
    return pm;
}

} // namespace

MainWindow::MainWindow() {
    setObjectName("mainwindow");
    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(1);
    Timer1->setTimerType(Qt::PreciseTimer);
    setCentralWidget(buildControls());
    buildMenus();
    // A fixed panel: captions that change leave its width alone, and it cannot be maximised
    // (its controls would only spread over the screen).
    reserveCaptions(startsim, {"Start Sim&ulation", "Stop Sim&ulation"});
    reserveCaptions(swapsim, {"Hide S&imulation", "Show S&imulation"});
    reserveCaptions(switchorg, {"Hide Or&ganisms", "Show Or&ganisms"});
    reserveCaptions(switchenv, {"Hide &Environment", "Show &Environment"});
    generation->setMinimumWidth(generation->fontMetrics().horizontalAdvance("2147483647"));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
}

QWidget* MainWindow::buildControls() {
    auto* central = new QWidget;
    auto* grid = new QGridLayout(central);
    Picture1 = named(new QLabel, "Picture1");
    Picture1->setPixmap(bannerPicture());
    versionlabel = valueLabel("versionlabel");
    versionlabel->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    File1 = named(new QListWidget, "File1");
    File1->hide(); // lists the profile files for the menus; never shown
    grid->addWidget(Picture1, 0, 0);
    grid->addWidget(versionlabel, 0, 1);
    grid->addWidget(buildSimulationControls(), 1, 0);
    grid->addWidget(buildGraphicControls(), 1, 1);
    grid->addWidget(buildSquareSize(), 2, 0);
    grid->addWidget(buildSlowdown(), 2, 1);
    grid->addWidget(buildCurrentSquare(), 3, 0);
    grid->addWidget(buildInformation(), 3, 1);
    grid->addWidget(File1, 4, 0);
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
    resetsim = button("resetsim", "Rese&t");
    savesim = button("savesim", "Sa&ve");
    loadsim = button("loadsim", "Lo&ad");
    startsim = button("startsim", "Start Sim&ulation");
    return buttonFrame("Simulation Controls", {resetsim, savesim, loadsim}, {startsim});
}

QGroupBox* MainWindow::buildGraphicControls() {
    swapsim = button("swapsim", "Hide S&imulation");
    maxi = button("maxi", "&Maximize");
    switchorg = button("switchorg", "Hide Or&ganisms");
    switchenv = button("switchenv", "Hide &Environment");
    return buttonFrame("Graphic Controls", {swapsim, maxi}, {switchorg, switchenv});
}

QGroupBox* MainWindow::buildSquareSize() {
    auto* box = new QGroupBox("S&quare Size");
    auto* layout = new QHBoxLayout(box);
    Slider1 = named(new QSlider(Qt::Horizontal), "Slider1");
    Slider1->setRange(1, 8);
    Slider1->setPageStep(1);
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setValue(4);
    sizelabel = valueLabel("sizelabel", "x 4");
    layout->addWidget(Slider1, 1);
    layout->addWidget(sizelabel);
    box->setFocusProxy(Slider1);
    return box;
}

QGroupBox* MainWindow::buildSlowdown() {
    auto* box = new QGroupBox("S&lowdown Factor");
    auto* layout = new QHBoxLayout(box);
    slowdownslider = named(new QSlider(Qt::Horizontal), "slowdownslider");
    slowdownslider->setRange(-5, 5);
    slowdownslider->setPageStep(1);
    slowdownslider->setTickPosition(QSlider::TicksBelow);
    slowdownslider->setValue(0);
    slowdowntext = valueLabel("slowdowntext", "None");
    layout->addWidget(slowdownslider, 1);
    layout->addWidget(slowdowntext);
    box->setFocusProxy(slowdownslider);
    return box;
}

QGroupBox* MainWindow::buildCurrentSquare() {
    auto* box = new QGroupBox("Current Square");
    auto* layout = new QGridLayout(box);
    preview = new PreviewBox;
    csquare = valueLabel("csquare");
    csquare->setAlignment(Qt::AlignCenter);
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
    component(organism, orgred, orggreen, orgblue, "orgred", "orggreen", "orgblue");
    component(environment, envred, envgreen, envblue, "envred", "envgreen", "envblue");
    layout->addWidget(preview, 0, 0, Qt::AlignCenter);
    layout->addWidget(csquare, 1, 0);
    layout->addWidget(organism, 0, 1, 2, 1);
    layout->addWidget(environment, 0, 2, 2, 1);
    return box;
}

QGroupBox* MainWindow::buildInformation() {
    auto* box = new QGroupBox("Simulation Information");
    auto* layout = new QGridLayout(box);
    generation = valueLabel("generation", "0");
    orgs = valueLabel("orgs", "0");
    envs = valueLabel("envs", "0");
    layout->addWidget(new QLabel("Generation:"), 0, 0);
    layout->addWidget(generation, 0, 1);
    layout->addWidget(new QLabel("Organisms:"), 1, 0);
    layout->addWidget(orgs, 1, 1);
    layout->addWidget(new QLabel("Environments:"), 2, 0);
    layout->addWidget(envs, 2, 1);
    layout->setColumnStretch(1, 1);
    return box;
}

void MainWindow::buildMenus() {
    auto menu = [this](const char* name, const char* caption) { return namedMenu(menuBar(), name, caption); };
    auto entry = [](QMenu* m, const char* name, const char* caption, const QKeySequence& keys = {}) {
        return namedEntry(m, name, caption, keys);
    };
    const auto separator = namedSeparator;
    program = menu("program", "&Program");
    help = entry(program, "help", "Help - &Window", Qt::Key_F2);
    help2menu = entry(program, "help2menu", "Help - &Contents", Qt::Key_F3);
    help4menu = entry(program, "help4menu", "Help - &Search", Qt::Key_F4);
    separator(program, "sep1");
    about = entry(program, "about", "&About", Qt::CTRL | Qt::Key_A);
    quit = entry(program, "quit", "&Quit", Qt::CTRL | Qt::Key_Q);

    simulation = menu("simulation", "&Simulation");
    start = entry(simulation, "start", "&Start Simulation", Qt::CTRL | Qt::Key_S);
    reset = entry(simulation, "reset", "&Reset", Qt::CTRL | Qt::Key_X);

    sep2 = menu("sep2", "&View");
    refreshmenu = entry(sep2, "refreshmenu", "&Refresh", Qt::CTRL | Qt::Key_R);
    hidesim = entry(sep2, "hidesim", "Hide &Simulation", Qt::CTRL | Qt::Key_H);
    switchenvmenu = entry(sep2, "switchenvmenu", "Hide &Environment", Qt::CTRL | Qt::Key_E);
    switchorgmenu = entry(sep2, "switchorgmenu", "Hide &Organisms", Qt::CTRL | Qt::Key_O);
    maximize = entry(sep2, "maximize", "&Maximize", Qt::CTRL | Qt::Key_M);

    options = menu("options", "&Options");
    options2 = entry(options, "options2", "&Options", Qt::Key_F5);

    profmenu = menu("profmenu", "P&rofiles");
    load = entry(profmenu, "load", "&Load", Qt::Key_F7);
    save = entry(profmenu, "save", "&Save", Qt::Key_F8);
    sep3 = separator(profmenu, "sep3");
    defmenu = entry(profmenu, "defmenu", "&Defaults", Qt::CTRL | Qt::Key_F1);
    static const Qt::Key profileKeys[7] = {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5,
                                           Qt::Key_F6, Qt::Key_F7, Qt::Key_F8};
    for (int i = 0; i < 7; ++i) {
        const QByteArray name = "profile" + QByteArray::number(i + 2);
        profileItems[i] = entry(profmenu, name.constData(), "", Qt::CTRL | profileKeys[i]);
        profileItems[i]->setVisible(false); // filled from the Profiles folder
    }
    sep8 = separator(profmenu, "sep8");
    moreprof = entry(profmenu, "moreprof", "&More Profiles..");
}

void MainWindow::closeEvent(QCloseEvent* e) {
    // The program decides: closing the control panel ends it.
    e->ignore();
    emit unloadRequested();
}

} // namespace bx

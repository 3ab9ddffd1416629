#include "configdialog.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "engine/numeric.h"
#include "platform/widgetparts.h"
#include "saverinstall/squaresetting.h"

namespace bx {
namespace {

QAction* menuItem(QMenu* menu, const char* name, const QString& text, const QKeySequence& shortcut) {
    return namedEntry(menu, name, text, shortcut);
}

} // namespace

ConfigDialog::ConfigDialog(SaverModule& module, SettingsStore& settings, HelpService& help,
                           std::string helpFile, QWidget* parent)
    : QDialog(parent), Slider1(new QSlider(Qt::Horizontal, this)),
      Label1(new QLabel(tr("Square Size:"), this)), Label2(new QLabel(tr("Screen Saver"), this)),
      Label3(new QLabel(QStringLiteral("20"), this)), versionlabel(new QLabel(QStringLiteral("2.0"), this)),
      picView(new SaverCanvas(this)), Timer1(new QTimer(this)), cmdOK(new QPushButton(tr("&Ok"), this)),
      Command1(new QPushButton(tr("&Cancel"), this)), module_(module), settings_(settings), help_(help),
      helpFile_(std::move(helpFile)) {
    setObjectName("fConfig");
    setWindowTitle(QStringLiteral("Bramblex 2 : Screen Saver Configuration"));
    setModal(true);

    auto* menuBar = new QMenuBar(this);
    menuBar->setObjectName("menubar");
    QMenu* progmenu = menuBar->addMenu(tr("&Program"));
    progmenu->setObjectName("progmenu");
    helpmenu = menuItem(progmenu, "helpmenu", tr("&Help"), QKeySequence(Qt::Key_F1));
    aboutmenu = menuItem(progmenu, "aboutmenu", tr("&About"), QKeySequence(Qt::CTRL | Qt::Key_A));
    QMenu* optmenu = menuBar->addMenu(tr("&Options"));
    optmenu->setObjectName("optmenu");
    okmenu = menuItem(optmenu, "okmenu", tr("&Accept changes"), QKeySequence(Qt::CTRL | Qt::Key_O));
    canmenu = menuItem(optmenu, "canmenu", tr("&Cancel changes"), QKeySequence(Qt::CTRL | Qt::Key_C));
    // The shortcuts work while the menus are closed: the actions belong to the dialog too.
    addActions({helpmenu, aboutmenu, okmenu, canmenu});

    Slider1->setObjectName("Slider1");
    Slider1->setRange(2, 25);
    Slider1->setSingleStep(1);
    Slider1->setPageStep(5);
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setTickInterval(1);
    Label1->setObjectName("Label1");
    Label2->setObjectName("Label2");
    Label3->setObjectName("Label3");
    Label3->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000")));
    versionlabel->setObjectName("versionlabel");
    QFont big = Label2->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    Label2->setFont(big);

    // The preview: 240 × 180 pixels, fixed so the world can be sized before the dialog shows.
    picView->setObjectName("picView");
    picView->setFixedSize(240, 180);
    auto* Picture1 = new QWidget(this);
    Picture1->setObjectName("Picture1");
    auto* pictureLayout = new QHBoxLayout(Picture1);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    pictureLayout->addWidget(picView);

    auto* Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    auto* frameLayout = new QHBoxLayout(Frame1);
    frameLayout->addWidget(Label1);
    frameLayout->addWidget(Slider1, 1);
    frameLayout->addWidget(Label3);

    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &ConfigDialog::tick);

    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    Command1->setObjectName("Command1");
    connect(cmdOK, &QPushButton::clicked, this, &ConfigDialog::accept);
    connect(okmenu, &QAction::triggered, this, &ConfigDialog::accept);
    connect(Command1, &QPushButton::clicked, this, &QDialog::reject);
    connect(canmenu, &QAction::triggered, this, &QDialog::reject);
    connect(helpmenu, &QAction::triggered, this, [this] { help_.showHelp(helpFile_, HelpContext); });
    connect(aboutmenu, &QAction::triggered, this, &ConfigDialog::aboutRequested);

    auto* heading = new QHBoxLayout;
    heading->addWidget(Label2);
    heading->addStretch();
    heading->addWidget(versionlabel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(heading);
    layout->addWidget(Picture1, 0, Qt::AlignHCenter);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    preferWindowShortcuts(this);

    loadStoredSize();
    // Connected after loading: showing the stored size is not a choice of a new one.
    connect(Slider1, &QSlider::valueChanged, this, &ConfigDialog::sliderMoved);
    Timer1->start();
}

void ConfigDialog::loadStoredSize() {
    osize = readSquareSize(settings_);
    nsize = osize;
    Slider1->setValue(roundToInt(osize));
    Label3->setText(QString::number(Slider1->value()));
}

void ConfigDialog::sliderMoved() {
    Label3->setText(QString::number(Slider1->value()));
    rsize();
}

void ConfigDialog::rsize() {
    nsize = Slider1->value();
    module_.world.squareSizeSetting = nsize;
    module_.world.rebuildRequested = true;
}

void ConfigDialog::accept() {
    osize = nsize;
    storeSquareSize(settings_, osize);
    QDialog::accept();
}

} // namespace bx

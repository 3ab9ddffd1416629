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
ConfigDialog::ConfigDialog(SaverModule& module, SettingsStore& settings, HelpService& help,
                           std::string helpFile, QWidget* parent)
    : QDialog(parent), squareSizeSlider(new QSlider(Qt::Horizontal, this)),
      squareSizeCaption(new QLabel(tr("Square Size:"), this)),
      titleLabel(new QLabel(tr("Screen Saver"), this)),
      squareSizeLabel(new QLabel(QStringLiteral("20"), this)),
      versionLabel(new QLabel(QStringLiteral("2.0"), this)), preview(new SaverCanvas(this)),
      tickTimer(new QTimer(this)), okButton(new QPushButton(tr("&Ok"), this)),
      cancelButton(new QPushButton(tr("&Cancel"), this)), module_(module), settings_(settings), help_(help),
      helpFile_(std::move(helpFile)) {
    setObjectName("fConfig");
    setWindowTitle(QStringLiteral("Bramblex 2 : Screen Saver Configuration"));
    setModal(true);
    QMenuBar* menuBar = buildMenus();
    setUpControls();
    QWidget* picture = previewPicture();
    QGroupBox* sizeFrame = squareSizeFrame();
    connectCommands();
    layOut(menuBar, picture, sizeFrame);
    preferWindowShortcuts(this);

    loadStoredSize();
    // Connected after loading: showing the stored size is not a choice of a new one.
    connect(squareSizeSlider, &QSlider::valueChanged, this, &ConfigDialog::sliderMoved);
    tickTimer->start();
}

QMenuBar* ConfigDialog::buildMenus() {
    auto* menuBar = new QMenuBar(this);
    menuBar->setObjectName("menubar");
    QMenu* progmenu = menuBar->addMenu(tr("&Program"));
    progmenu->setObjectName("progmenu");
    helpItem = namedEntry(progmenu, "helpmenu", tr("&Help"), QKeySequence(Qt::Key_F1));
    aboutItem = namedEntry(progmenu, "aboutmenu", tr("&About"), QKeySequence(Qt::CTRL | Qt::Key_A));
    QMenu* optmenu = menuBar->addMenu(tr("&Options"));
    optmenu->setObjectName("optmenu");
    acceptItem = namedEntry(optmenu, "okmenu", tr("&Accept changes"), QKeySequence(Qt::CTRL | Qt::Key_O));
    cancelItem = namedEntry(optmenu, "canmenu", tr("&Cancel changes"), QKeySequence(Qt::CTRL | Qt::Key_C));
    // The shortcuts work while the menus are closed: the actions belong to the dialog too.
    addActions({helpItem, aboutItem, acceptItem, cancelItem});
    return menuBar;
}

void ConfigDialog::setUpControls() {
    squareSizeSlider->setObjectName("Slider1");
    squareSizeSlider->setRange(2, 25);
    squareSizeSlider->setSingleStep(1);
    squareSizeSlider->setPageStep(5);
    squareSizeSlider->setTickPosition(QSlider::TicksBelow);
    squareSizeSlider->setTickInterval(1);
    squareSizeCaption->setObjectName("Label1");
    titleLabel->setObjectName("Label2");
    squareSizeLabel->setObjectName("Label3");
    squareSizeLabel->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000")));
    versionLabel->setObjectName("versionlabel");
    QFont big = titleLabel->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    titleLabel->setFont(big);
    tickTimer->setObjectName("Timer1");
    tickTimer->setInterval(saverTickInterval);
    okButton->setObjectName("cmdOK");
    okButton->setDefault(true);
    cancelButton->setObjectName("Command1");
}

// The preview: 240 × 180 pixels, fixed so the world can be sized before the dialog shows.
QWidget* ConfigDialog::previewPicture() {
    preview->setObjectName("picView");
    preview->setFixedSize(240, 180);
    auto* picture = new QWidget(this);
    picture->setObjectName("Picture1");
    auto* pictureLayout = new QHBoxLayout(picture);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    pictureLayout->addWidget(preview);
    return picture;
}

QGroupBox* ConfigDialog::squareSizeFrame() {
    auto* frame = new QGroupBox(this);
    frame->setObjectName("Frame1");
    auto* frameLayout = new QHBoxLayout(frame);
    frameLayout->addWidget(squareSizeCaption);
    frameLayout->addWidget(squareSizeSlider, 1);
    frameLayout->addWidget(squareSizeLabel);
    return frame;
}

void ConfigDialog::connectCommands() {
    connect(tickTimer, &QTimer::timeout, this, &ConfigDialog::tick);
    connect(okButton, &QPushButton::clicked, this, &ConfigDialog::accept);
    connect(acceptItem, &QAction::triggered, this, &ConfigDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(cancelItem, &QAction::triggered, this, &QDialog::reject);
    connect(helpItem, &QAction::triggered, this, [this] { help_.showHelp(helpFile_, HelpContext); });
    connect(aboutItem, &QAction::triggered, this, &ConfigDialog::aboutRequested);
}

void ConfigDialog::layOut(QMenuBar* menuBar, QWidget* picture, QGroupBox* sizeFrame) {
    auto* heading = new QHBoxLayout;
    heading->addWidget(titleLabel);
    heading->addStretch();
    heading->addWidget(versionLabel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(heading);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addWidget(sizeFrame);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ConfigDialog::loadStoredSize() {
    osize = readSquareSize(settings_);
    nsize = osize;
    squareSizeSlider->setValue(roundToInt(osize));
    squareSizeLabel->setText(QString::number(squareSizeSlider->value()));
}

void ConfigDialog::sliderMoved() {
    squareSizeLabel->setText(QString::number(squareSizeSlider->value()));
    rsize();
}

void ConfigDialog::rsize() {
    nsize = squareSizeSlider->value();
    module_.world.squareSizeSetting = nsize;
    module_.world.rebuildRequested = true;
}

void ConfigDialog::accept() {
    osize = nsize;
    storeSquareSize(settings_, osize);
    QDialog::accept();
}

} // namespace bx

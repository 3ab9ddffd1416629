#include "aboutwindow.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "platform/weblink.h"
#include "platform/widgetparts.h"
#include "splashwindow.h"

namespace bx {

AboutWindow::AboutWindow(const SimulationOptions& options, MessageService& messages, HelpService& help,
                         WebBrowser& browser, QWidget* parent)
    : QDialog(parent), titlelabel(new QLabel(this)), versionlabel3(new QLabel(this)),
      List1(new QListWidget(this)), Command1(new QPushButton(tr("&Done"), this)), Label2(new QLabel(this)),
      options_(options), messages_(messages), help_(help), browser_(browser) {
    setObjectName("aboutwin");
    setModal(true);

    titlelabel->setObjectName("titlelabel");
    QFont big = titlelabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    titlelabel->setFont(big);
    versionlabel3->setObjectName("versionlabel3");
    auto* versionCaption = new QLabel(tr("Version"), this);
    versionCaption->setObjectName("versioncaption");

    auto* picture = new QLabel(this);
    picture->setObjectName("Picture1");
    picture->setPixmap(bramblexArtwork(QSize(156, 96), false));

    auto* frame = new QGroupBox(tr("Information"), this);
    frame->setObjectName("Frame1");
    List1->setObjectName("List1");
    List1->setSelectionMode(QAbstractItemView::NoSelection);
    List1->setFocusPolicy(Qt::NoFocus);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(List1);

    Command1->setObjectName("Command1");
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);

    Label2->setObjectName("Label2");
    Label2->setText(QString::fromLatin1(publisherAddress));
    Label2->setToolTip(tr("Open the publisher's web page"));
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->setFocusPolicy(Qt::TabFocus);
    Label2->setStyleSheet(QStringLiteral("#Label2 { color: #1a4fd0; text-decoration: underline; }"));
    makeLinkLabel(Label2, [this] { openWebPage(); });

    auto* help1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help1->setObjectName("helpshortcut");
    connect(help1, &QShortcut::activated, this,
            [this] { help_.showHelp(options_.helpFilePath, HelpContents); });

    auto* heading = new QVBoxLayout;
    heading->addWidget(titlelabel);
    auto* version = new QHBoxLayout;
    version->addWidget(versionCaption);
    version->addWidget(versionlabel3);
    version->addStretch();
    heading->addLayout(version);
    heading->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addLayout(heading, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label2);
    bottom->addStretch();
    bottom->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(frame, 1);
    layout->addLayout(bottom);
    resize(460, 360);
    load();
}

void AboutWindow::load() {
    const QString mainTitle = QString::fromStdString(options_.mainTitle);
    setWindowTitle(QStringLiteral("About ") + mainTitle);
    titlelabel->setText(mainTitle);
    versionlabel3->setText(QString::fromStdString(options_.versionString));
    List1->clear();
    List1->addItems({mainTitle + QStringLiteral("."), QString(), tr("Written by the Bramblex developers."),
                     tr("Published by Bramblex Software."), QString(),
                     QStringLiteral("Please press F1 to read the help file.")});
}

void AboutWindow::showAbout() {
    load();
    exec();
}

void AboutWindow::openWebPage() {
    bx::openWebPage(browser_, messages_, publisherAddress, "bramblex");
}

} // namespace bx

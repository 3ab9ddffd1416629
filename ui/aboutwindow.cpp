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
    : QDialog(parent), titleLabel(new QLabel(this)), versionLabel(new QLabel(this)),
      information(new QListWidget(this)), doneButton(new QPushButton(tr("&Done"), this)),
      webLink(new QLabel(this)), options_(options), messages_(messages), help_(help), browser_(browser) {
    setObjectName("aboutwin");
    setModal(true);

    titleLabel->setObjectName("titlelabel");
    QFont big = titleLabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    titleLabel->setFont(big);
    versionLabel->setObjectName("versionlabel3");
    auto* versionCaption = new QLabel(tr("Version"), this);
    versionCaption->setObjectName("versioncaption");

    auto* picture = new QLabel(this);
    picture->setObjectName("Picture1");
    picture->setPixmap(bramblexArtwork(QSize(156, 96), false));

    auto* frame = new QGroupBox(tr("Information"), this);
    frame->setObjectName("Frame1");
    information->setObjectName("List1");
    information->setSelectionMode(QAbstractItemView::NoSelection);
    information->setFocusPolicy(Qt::NoFocus);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(information);

    doneButton->setObjectName("Command1");
    doneButton->setDefault(true);
    connect(doneButton, &QPushButton::clicked, this, &QDialog::accept);

    webLink->setObjectName("Label2");
    webLink->setText(QString::fromLatin1(publisherAddress));
    webLink->setToolTip(tr("Open the publisher's web page"));
    webLink->setCursor(Qt::PointingHandCursor);
    webLink->setFocusPolicy(Qt::TabFocus);
    webLink->setStyleSheet(QStringLiteral("#Label2 { color: #1a4fd0; text-decoration: underline; }"));
    makeLinkLabel(webLink, [this] { openWebPage(); });

    auto* help1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help1->setObjectName("helpshortcut");
    connect(help1, &QShortcut::activated, this,
            [this] { help_.showHelp(options_.helpFilePath, HelpContents); });

    auto* heading = new QVBoxLayout;
    heading->addWidget(titleLabel);
    auto* version = new QHBoxLayout;
    version->addWidget(versionCaption);
    version->addWidget(versionLabel);
    version->addStretch();
    heading->addLayout(version);
    heading->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addLayout(heading, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(webLink);
    bottom->addStretch();
    bottom->addWidget(doneButton);
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
    titleLabel->setText(mainTitle);
    versionLabel->setText(QString::fromStdString(options_.versionString));
    information->clear();
    information->addItems({mainTitle + QStringLiteral("."), QString(),
                           tr("Written by the Bramblex developers."), tr("Published by Bramblex Software."),
                           QString(), QStringLiteral("Please press F1 to read the help file.")});
}

void AboutWindow::showAbout() {
    load();
    exec();
}

void AboutWindow::openWebPage() {
    bx::openWebPage(browser_, messages_, publisherAddress, "bramblex");
}

} // namespace bx

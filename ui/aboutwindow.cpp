#include "aboutwindow.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "platform/aboutparts.h"
#include "platform/weblink.h"
#include "splashwindow.h"

namespace bx {

AboutWindow::AboutWindow(const SimulationOptions& options, MessageService& messages, HelpService& help,
                         WebBrowser& browser, QWidget* parent)
    : QDialog(parent), titleLabel(new QLabel(this)), versionLabel(new QLabel(this)),
      information(new QListWidget(this)), options_(options), messages_(messages), help_(help),
      browser_(browser) {
    setObjectName("aboutwin");
    setModal(true);
    titleLabel->setObjectName("titlelabel");
    versionLabel->setObjectName("versionlabel3");
    auto* versionCaption = new QLabel(tr("Version"), this);
    versionCaption->setObjectName("versioncaption");
    information->setObjectName("List1");
    information->setSelectionMode(QAbstractItemView::NoSelection);
    information->setFocusPolicy(Qt::NoFocus);

    const AboutContent content{titleLabel, versionCaption, versionLabel, information,
                               "Picture1", nullptr,        "Frame1",     tr("Information")};
    const AboutControls controls = buildAboutBox(
        this, content, bramblexArtwork(QSize(156, 96), false), [this] { openWebPage(); },
        [this] { help_.showHelp(options_.helpFilePath, HelpContents); });
    webLink = controls.webLink;
    doneButton = controls.doneButton;
    // Done comes first on Tab, then the link.
    setTabOrder(doneButton, webLink);
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

#include "aboutform.h"

#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/aboutparts.h"
#include "platform/weblink.h"
#include "saverstate.h"

namespace bx {

QString aboutText(const QString& versionText) {
    const QStringList lines{QStringLiteral("Bramblex ") + versionText + QStringLiteral(" Screen Saver."),
                            QString(),
                            QStringLiteral("Written by the Bramblex developers."),
                            QStringLiteral("Published by Bramblex Software."),
                            QString(),
                            QStringLiteral("Please press F1 to read the help file."),
                            QString(),
                            QStringLiteral("If you like this program, why not try Bramblex 2 itself!")};
    return lines.join(QStringLiteral("\r\n"));
}

namespace {

// A small picture of coloured squares with corner marks, as the saver draws them.
QPixmap aboutPicture() {
    QPixmap picture(96, 96);
    picture.fill(Qt::black);
    QPainter p(&picture);
    const QColor colours[] = {QColor(200, 60, 40), QColor(40, 150, 90), QColor(60, 90, 200),
                              QColor(210, 180, 40)};
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 6; ++r) {
            if ((c * 7 + r * 3) % 5 == 0)
                continue;
            const QColor& organism = colours[(c + r) % 4];
            p.fillRect(c * 16, r * 16, 16, 16, organism);
            p.fillRect(c * 16, r * 16, 8, 8, colours[(c * 3 + r + 1) % 4].lighter(130));
        }
    return picture;
}

} // namespace

AboutForm::AboutForm(MessageService& messages, HelpService& help, WebBrowser& browser, std::string helpFile,
                     QWidget* parent)
    : QDialog(parent), versionLabel(new QLabel(QStringLiteral("2.0"), this)),
      titleLabel(new QLabel(QStringLiteral("Bramblex 2"), this)), information(new QPlainTextEdit(this)),
      messages_(messages), help_(help), browser_(browser), helpFile_(std::move(helpFile)) {
    setObjectName("aboutform");
    setWindowTitle(QStringLiteral("About Bramblex 2 Screen Saver"));
    setModal(true);
    versionLabel->setObjectName("versionlabel3");
    titleLabel->setObjectName("Label1");
    information->setObjectName("Text1");
    information->setReadOnly(true);

    const AboutContent content{titleLabel,   new QLabel(tr("Screen Saver, version"), this),
                               versionLabel, information,
                               "Picture1",   "Frame1",
                               "Frame2",     tr("&Information")};
    const AboutControls controls = buildAboutBox(
        this, content, aboutPicture(), [this] { openWebPage(); },
        [this] { help_.showHelp(helpFile_, HelpContext); });
    webLink = controls.webLink;
    doneButton = controls.doneButton;
    // The link comes first on Tab, then the text, then Done.
    setTabOrder(webLink, information);
    setTabOrder(information, doneButton);
    resize(440, 360);
    setVersionText(QStringLiteral("2.0"));
}

void AboutForm::setVersionText(const QString& versionText) {
    versionLabel->setText(versionText);
    information->clear();
    information->setPlainText(aboutText(versionText));
}

void AboutForm::openWebPage() {
    bx::openWebPage(browser_, messages_, publisherAddress, saverTitle);
}

} // namespace bx

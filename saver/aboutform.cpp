#include "aboutform.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "platform/weblink.h"
#include "platform/widgetparts.h"
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
      titleLabel(new QLabel(QStringLiteral("Bramblex 2"), this)), webLink(new QLabel(this)),
      information(new QPlainTextEdit(this)), doneButton(new QPushButton(tr("&Done"), this)),
      messages_(messages), help_(help), browser_(browser), helpFile_(std::move(helpFile)) {
    setObjectName("aboutform");
    setWindowTitle(QStringLiteral("About Bramblex 2 Screen Saver"));
    setModal(true);

    versionLabel->setObjectName("versionlabel3");
    titleLabel->setObjectName("Label1");
    QFont big = titleLabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    titleLabel->setFont(big);
    auto* Picture1 = new QLabel(this);
    Picture1->setObjectName("Picture1");
    Picture1->setPixmap(aboutPicture());

    auto* Frame2 = new QGroupBox(tr("&Information"), this);
    Frame2->setObjectName("Frame2");
    information->setObjectName("Text1");
    information->setReadOnly(true);
    auto* frameLayout = new QVBoxLayout(Frame2);
    frameLayout->addWidget(information);

    webLink->setObjectName("Label2");
    webLink->setText(QString::fromLatin1(publisherAddress));
    webLink->setToolTip(tr("Open the publisher's web page"));
    webLink->setCursor(Qt::PointingHandCursor);
    webLink->setFocusPolicy(Qt::TabFocus);
    webLink->setStyleSheet(QStringLiteral("#Label2 { color: #1a4fd0; text-decoration: underline; }"));
    makeLinkLabel(webLink, [this] { openWebPage(); });

    doneButton->setObjectName("Command1");
    doneButton->setDefault(true);
    connect(doneButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* help1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help1->setObjectName("helpshortcut");
    connect(help1, &QShortcut::activated, this, [this] { help_.showHelp(helpFile_, HelpContext); });

    auto* Frame1 = new QWidget(this);
    Frame1->setObjectName("Frame1");
    auto* heading = new QVBoxLayout(Frame1);
    heading->addWidget(titleLabel);
    auto* version = new QHBoxLayout;
    version->addWidget(new QLabel(tr("Screen Saver, version"), this));
    version->addWidget(versionLabel);
    version->addStretch();
    heading->addLayout(version);
    heading->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(Picture1);
    top->addWidget(Frame1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(webLink);
    bottom->addStretch();
    bottom->addWidget(doneButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Frame2, 1);
    layout->addLayout(bottom);
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

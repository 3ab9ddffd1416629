#include "aboutparts.h"

#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "platform/widgetparts.h"

namespace bx {
namespace {

void enlargeTitle(QLabel* title) {
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    title->setFont(big);
}

QLabel* makeWebLink(QWidget* box, std::function<void()> open) {
    auto* link = new QLabel(QString::fromLatin1(publisherAddress), box);
    link->setObjectName("Label2");
    link->setToolTip(QDialog::tr("Open the publisher's web page"));
    link->setCursor(Qt::PointingHandCursor);
    link->setFocusPolicy(Qt::TabFocus);
    link->setStyleSheet(QStringLiteral("#Label2 { color: #1a4fd0; text-decoration: underline; }"));
    makeLinkLabel(link, std::move(open));
    return link;
}

QPushButton* makeDoneButton(QDialog* box) {
    auto* done = new QPushButton(QDialog::tr("&Done"), box);
    done->setObjectName("Command1");
    done->setDefault(true);
    QObject::connect(done, &QPushButton::clicked, box, &QDialog::accept);
    return done;
}

void addHelpKey(QDialog* box, std::function<void()> showHelp) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), box);
    key->setObjectName("helpshortcut");
    QObject::connect(key, &QShortcut::activated, box, std::move(showHelp));
}

QVBoxLayout* headingOf(const AboutContent& content) {
    auto* heading = new QVBoxLayout;
    heading->addWidget(content.title);
    auto* version = new QHBoxLayout;
    version->addWidget(content.versionCaption);
    version->addWidget(content.version);
    version->addStretch();
    heading->addLayout(version);
    heading->addStretch();
    return heading;
}

// The picture on the left of the heading, which stands in its frame when the form has one.
QHBoxLayout* topOf(QDialog* box, const AboutContent& content, const QPixmap& picture) {
    auto* pictureLabel = new QLabel(box);
    pictureLabel->setObjectName(content.pictureName);
    pictureLabel->setPixmap(picture);
    auto* top = new QHBoxLayout;
    top->addWidget(pictureLabel);
    if (content.headingFrameName) {
        auto* frame = new QWidget(box);
        frame->setObjectName(content.headingFrameName);
        frame->setLayout(headingOf(content));
        top->addWidget(frame, 1);
    } else {
        top->addLayout(headingOf(content), 1);
    }
    return top;
}

QGroupBox* informationFrameOf(QDialog* box, const AboutContent& content) {
    auto* frame = new QGroupBox(content.informationCaption, box);
    frame->setObjectName(content.informationFrameName);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(content.information);
    return frame;
}

} // namespace

AboutControls buildAboutBox(QDialog* box, const AboutContent& content, const QPixmap& picture,
                            std::function<void()> openLink, std::function<void()> showHelp) {
    enlargeTitle(content.title);
    const AboutControls controls{makeWebLink(box, std::move(openLink)), makeDoneButton(box)};
    addHelpKey(box, std::move(showHelp));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(controls.webLink);
    bottom->addStretch();
    bottom->addWidget(controls.doneButton);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(topOf(box, content, picture));
    layout->addWidget(informationFrameOf(box, content), 1);
    layout->addLayout(bottom);
    return controls;
}

} // namespace bx

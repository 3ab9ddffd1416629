#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "support/fakeplatform.h"
#include "ui/aboutwindow.h"
#include "ui/splashwindow.h"

class SplashAboutTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void splashShowsVersionAndTimers();
    void splashClosesOnKey();
    void splashClosesOnClickOverAPicture();
    void splashClosesWhenTimer1Fires();
    void splashComesBackUntilClosed();
    void aboutShowsTitleVersionAndList();
    void aboutDoneCloses();
    void aboutLinkOpensThePublishersPage();
    void aboutLinkTellsWhenNoBrowserOrNoStart();
    void aboutF1OpensContents();

private:
    bx::SimulationOptions options_;
};

void SplashAboutTest::init() {
    options_ = bx::SimulationOptions{};
    options_.versionString = "2.1";
    options_.mainTitle = "Bramblex 2.1";
    options_.helpFilePath = "/prog/bramblex.hlp";
}

void SplashAboutTest::splashShowsVersionAndTimers() {
    bx::SplashWindow splash(options_);
    QCOMPARE(splash.objectName(), "splash");
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(splash.findChild<QLabel*>("versionlabel2")->text(), "2.1");
    QCOMPARE(splash.closeTimer->interval(), 5000);
    QVERIFY(!splash.closeTimer->isActive());
    QCOMPARE(splash.showAgainTimer->interval(), 50);
    emit splash.showAgainTimer->timeout({}); // made but not yet shown: does not show itself
    QVERIFY(!splash.isVisible());
    splash.show();
    QVERIFY(splash.showAgainTimer->isActive());
    QVERIFY(!splash.closeTimer->isActive());
    splash.start();
    QVERIFY(splash.closeTimer->isActive());
    // Centred on the screen.
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY((splash.frameGeometry().center() - centre).manhattanLength() <= 2);
}

void SplashAboutTest::splashClosesOnKey() {
    bx::SplashWindow splash(options_);
    QSignalSpy closed(&splash, &bx::SplashWindow::closed);
    splash.show();
    splash.start();
    QTest::keyClick(&splash, Qt::Key_Q);
    QVERIFY(!splash.isVisible());
    QCOMPARE(closed.count(), 1);
    QVERIFY(!splash.closeTimer->isActive());
    QVERIFY(!splash.showAgainTimer->isActive());
}

void SplashAboutTest::splashClosesOnClickOverAPicture() {
    bx::SplashWindow splash(options_);
    splash.show();
    splash.start();
    QTest::mouseClick(splash.findChild<QLabel*>("Picture1"), Qt::RightButton);
    QVERIFY(!splash.isVisible());
}

void SplashAboutTest::splashClosesWhenTimer1Fires() {
    bx::SplashWindow splash(options_);
    splash.show();
    splash.start();
    emit splash.closeTimer->timeout({}); // the 5 s are not waited for
    QVERIFY(!splash.isVisible());
}

void SplashAboutTest::splashComesBackUntilClosed() {
    bx::SplashWindow splash(options_);
    splash.show();
    splash.start();
    splash.hide();                   // as when another window covers or hides it
    QTRY_VERIFY(splash.isVisible()); // Timer2 shows it again
    splash.close();
    emit splash.showAgainTimer->timeout({});
    QVERIFY(!splash.isVisible());
}

namespace {

struct About {
    bx::test::FakePlatform platform;
    bx::AboutWindow window;
    explicit About(const bx::SimulationOptions& options)
        : window(options, platform.messages, platform.help, platform.browser) {}
};

QStringList items(QListWidget* list) {
    QStringList out;
    for (int row = 0; row < list->count(); ++row)
        out << list->item(row)->text();
    return out;
}

// Runs the modal about box and calls act once it is up.
void whileShown(bx::AboutWindow& window, std::function<void()> act) {
    QTimer::singleShot(0, &window, [&window, act] {
        QTRY_VERIFY(window.isVisible());
        act();
        window.close();
    });
    window.showAbout();
}

} // namespace

void SplashAboutTest::aboutShowsTitleVersionAndList() {
    About about(options_);
    options_.mainTitle = "Bramblex 2.2"; // strings are taken afresh each time the box is shown
    options_.versionString = "2.2";
    whileShown(about.window, [&about] {
        QVERIFY(about.window.isModal());
        QCOMPARE(about.window.objectName(), "aboutwin");
        QCOMPARE(about.window.windowTitle(), "About Bramblex 2.2");
        QCOMPARE(about.window.titleLabel->text(), "Bramblex 2.2");
        QCOMPARE(about.window.findChild<QLabel*>("versionlabel3")->text(), "2.2");
        const QStringList list = items(about.window.findChild<QListWidget*>("List1"));
        QCOMPARE(list.size(), 6);
        QCOMPARE(list[0], "Bramblex 2.2.");
        QCOMPARE(list[1], "");
        QVERIFY(list[2].contains("Written by"));
        QVERIFY(list[3].contains("Bramblex Software"));
        QCOMPARE(list[4], "");
        QCOMPARE(list[5], "Please press F1 to read the help file.");
    });
    about.window.load(); // loading twice does not add lines
    QCOMPARE(about.window.information->count(), 6);
}

void SplashAboutTest::aboutDoneCloses() {
    About about(options_);
    QTimer::singleShot(0, &about.window, [&about] {
        auto* done = about.window.findChild<QPushButton*>("Command1");
        QCOMPARE(done->text(), "&Done");
        done->click();
    });
    about.window.showAbout();
    QVERIFY(!about.window.isVisible());
}

void SplashAboutTest::aboutLinkOpensThePublishersPage() {
    About about(options_);
    about.window.show();
    auto* link = about.window.findChild<QLabel*>("Label2");
    QCOMPARE(link->text(), QString(bx::publisherAddress));
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(about.platform.browser.opened, std::vector<std::string>{bx::publisherAddress});
    QVERIFY(about.platform.messages.notices.empty());
    QTest::mouseClick(link, Qt::RightButton); // only the left button follows the link
    QCOMPARE(about.platform.browser.opened.size(), size_t(1));
}

void SplashAboutTest::aboutLinkTellsWhenNoBrowserOrNoStart() {
    About about(options_);
    about.window.show();
    auto* link = about.window.findChild<QLabel*>("Label2");
    about.platform.browser.result = bx::BrowserResult::NoBrowser;
    QTest::mouseClick(link, Qt::LeftButton);
    about.platform.browser.result = bx::BrowserResult::CouldNotOpen;
    link->setFocus();
    QTest::keyClick(link, Qt::Key_Return);
    const auto& notices = about.platform.messages.notices;
    QCOMPARE(notices.size(), size_t(2));
    QCOMPARE(notices[0].title, "bramblex");
    QCOMPARE(notices[0].text, "Error: No web browser found.");
    QCOMPARE(notices[0].icon, bx::MessageIcon::None);
    QCOMPARE(notices[0].helpContext, 0);
    QCOMPARE(notices[1].text, "Error: Could not open web page.");
    QVERIFY(about.window.isVisible()); // Enter on the link is not the Done button
}

void SplashAboutTest::aboutF1OpensContents() {
    About about(options_);
    whileShown(about.window, [&about] {
        QTRY_VERIFY(about.window.isActiveWindow());
        QTest::keyClick(about.window.findChild<QPushButton*>("Command1"), Qt::Key_F1);
        const auto& calls = about.platform.help.calls;
        QCOMPARE(calls.size(), size_t(1));
        QCOMPARE(calls[0].file, "/prog/bramblex.hlp");
        QCOMPARE(calls[0].command, int(bx::HelpContents));
    });
}

QTEST_MAIN(SplashAboutTest)
#include "splash_about_test.moc"

#include "platform/qtmessages.h"

#include <QPushButton>
#include <QtTest>

#include "modalbox.h"
#include "support/fakeplatform.h"

using bx::test::whenBoxShown;

class QtMessagesTest : public QObject {
    Q_OBJECT

private slots:
    void questionShowsTitleLinesIconAndNoAsDefault();
    void defaultYesAnswersEnterAndNoHelpWithoutContext();
    void helpButtonOpensHelpAtContextAndKeepsTheBoxOpen();
    void escapeAnswersNo();
    void noticeHasOnlyOkAndItsHelpRule();
    void lineBreaksOfEveryKind();
};

namespace {

bx::Question resetQuestion() {
    bx::Question q;
    q.title = "Reset Simulation?";
    q.text = "This will reset all data.\rAre you sure?";
    q.icon = bx::MessageIcon::Exclamation;
    q.defaultButton = bx::DefaultButton::No;
    q.helpContext = bx::help::reset;
    q.helpFile = "/somewhere/bramblex.hlp";
    return q;
}

QPushButton* button(QMessageBox& box, const char* name) {
    return box.findChild<QPushButton*>(name);
}

} // namespace

void QtMessagesTest::questionShowsTitleLinesIconAndNoAsDefault() {
    bx::test::FakeHelp help;
    bx::QtMessageService messages(help);
    bool checked = false;
    whenBoxShown([&](QMessageBox& box) {
        QCOMPARE(box.objectName(), "messagebox");
        QCOMPARE(box.windowTitle(), "Reset Simulation?");
        QCOMPARE(box.text(), "This will reset all data.\nAre you sure?");
        QCOMPARE(box.icon(), QMessageBox::Warning);
        QCOMPARE(box.buttons().size(), 3);
        QVERIFY(button(box, "yesbutton"));
        QVERIFY(button(box, "helpbutton"));
        QCOMPARE(box.defaultButton(), button(box, "nobutton"));
        QTRY_VERIFY(box.isActiveWindow());
        checked = true;
        button(box, "yesbutton")->click();
    });
    QCOMPARE(messages.ask(resetQuestion()), bx::Answer::Yes);
    QVERIFY(checked);
}

void QtMessagesTest::defaultYesAnswersEnterAndNoHelpWithoutContext() {
    bx::test::FakeHelp help;
    bx::QtMessageService messages(help);
    bx::Question q;
    q.title = "Reset simulation?";
    q.text =
        "The world seems to be dead.\nNo life was seen last update\nDo you want to reset the simulation?";
    q.icon = bx::MessageIcon::Information;
    q.defaultButton = bx::DefaultButton::Yes;
    bool checked = false;
    whenBoxShown([&](QMessageBox& box) {
        QCOMPARE(box.icon(), QMessageBox::Information);
        QCOMPARE(box.text().count('\n'), 2);
        QVERIFY(!button(box, "helpbutton"));
        QCOMPARE(box.buttons().size(), 2);
        checked = true;
        QTest::keyClick(&box, Qt::Key_Return);
    });
    QCOMPARE(messages.ask(q), bx::Answer::Yes);
    QVERIFY(checked);
}

void QtMessagesTest::helpButtonOpensHelpAtContextAndKeepsTheBoxOpen() {
    bx::test::FakeHelp help;
    bx::QtMessageService messages(help);
    whenBoxShown([&](QMessageBox& box) {
        button(box, "helpbutton")->click();
        QCOMPARE(help.calls.size(), size_t(1));
        QCOMPARE(help.calls[0].file, "/somewhere/bramblex.hlp");
        QCOMPARE(help.calls[0].command, int(bx::HelpContext));
        QCOMPARE(help.calls[0].context, bx::help::reset);
        // Still open and still answerable after the events of the click have run.
        QTimer::singleShot(0, &box, [&box] {
            QVERIFY(box.isVisible());
            button(box, "nobutton")->click();
        });
    });
    QCOMPARE(messages.ask(resetQuestion()), bx::Answer::No);
    QCOMPARE(help.calls.size(), size_t(1));
}

void QtMessagesTest::escapeAnswersNo() {
    bx::test::FakeHelp help;
    bx::QtMessageService messages(help);
    auto q = resetQuestion();
    q.defaultButton = bx::DefaultButton::Yes;
    whenBoxShown([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    QCOMPARE(messages.ask(q), bx::Answer::No);
}

void QtMessagesTest::noticeHasOnlyOkAndItsHelpRule() {
    bx::test::FakeHelp help;
    bx::QtMessageService messages(help);
    whenBoxShown([](QMessageBox& box) {
        QCOMPARE(box.windowTitle(), "bramblex");
        QCOMPARE(box.text(), "Error: No web browser found.");
        QCOMPARE(box.icon(), QMessageBox::NoIcon);
        QCOMPARE(box.buttons().size(), 1);
        QCOMPARE(box.defaultButton(), button(box, "okbutton"));
        button(box, "okbutton")->click();
    });
    messages.inform(bx::Notice{"bramblex", "Error: No web browser found.", bx::MessageIcon::None, 0, {}});

    whenBoxShown([&help](QMessageBox& box) {
        QCOMPARE(box.buttons().size(), 2);
        button(box, "helpbutton")->click();
        QCOMPARE(help.calls.size(), size_t(1));
        QCOMPARE(help.calls[0].context, bx::help::testScreensaver);
        QTimer::singleShot(0, &box, [&box] { button(box, "okbutton")->click(); });
    });
    messages.inform(bx::Notice{"Screensaver not found", "Screensaver not found.",
                               bx::MessageIcon::Exclamation, bx::help::testScreensaver, "bramblex.hlp"});
    QCOMPARE(help.calls.size(), size_t(1));

    // OK only, yet F1 still shows the box's topic.
    whenBoxShown([&help](QMessageBox& box) {
        QCOMPARE(box.buttons().size(), 1);
        QTRY_VERIFY(box.isActiveWindow());
        QTest::keyClick(&box, Qt::Key_F1);
        QCOMPARE(help.calls.size(), size_t(2));
        QCOMPARE(help.calls[1].context, bx::help::installScreensaver);
        QTimer::singleShot(0, &box, [&box] { button(box, "okbutton")->click(); });
    });
    messages.inform(bx::Notice{"Screensaver error", "Error installing screensaver.", bx::MessageIcon::None,
                               bx::help::installScreensaver, "bramblex.hlp", false});
}

void QtMessagesTest::lineBreaksOfEveryKind() {
    QCOMPARE(bx::messageText("a\r\nb\rc\nd\r\re"), "a\nb\nc\nd\n\ne");
}

QTEST_MAIN(QtMessagesTest)
#include "qtmessages_test.moc"

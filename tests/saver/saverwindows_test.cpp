// The saver's windows and modes, offscreen: the configuration dialog, the about window, the
// full-screen window's ways to end, the password switch and a preview whose host is gone.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>
#include <map>

#include "saver/aboutform.h"
#include "saver/configdialog.h"
#include "saver/listenwindow.h"
#include "saver/saverapp.h"
#include "saver/screenwindow.h"
#include "support/fakeplatform.h"

namespace bx {
namespace {

class MemorySettings : public SettingsStore {
public:
    std::map<std::string, std::string> values;
    std::optional<std::string> get(const std::string& a, const std::string& s,
                                   const std::string& k) const override {
        const auto it = values.find(a + "/" + s + "/" + k);
        return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    void set(const std::string& a, const std::string& s, const std::string& k,
             const std::string& v) override {
        values[a + "/" + s + "/" + k] = v;
    }
    std::optional<std::string> squareSize() const { return get("Bramblex 2", "General", "Square Size"); }
};

// No window of another program exists here.
class NoHostWindows : public HostWindows {
public:
    int asked = 0;
    std::optional<SurfaceSize> clientSize(int64_t) override {
        ++asked;
        return std::nullopt;
    }
};

struct Rig {
    test::FakePlatform fake;
    MemorySettings settings;
    NoHostWindows hosts;
    RandomGenerator rng{5};
    SaverApp app{SaverPlatform{fake.messages, fake.help, fake.cursor, fake.browser, settings, hosts, rng,
                               "/opt/bx", QRect(0, 0, 320, 240)}};
    explicit Rig(std::optional<std::string> stored = std::nullopt) {
        if (stored)
            settings.values["Bramblex 2/General/Square Size"] = *stored;
    }
    bool start(SaverLaunch launch, int64_t handle = 0) {
        SaverCommand command;
        command.launch = launch;
        command.handle = handle;
        return app.start(command);
    }
};

} // namespace

class SaverWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void configDialogShowsTheStoredSizeOrSix_data();
    void configDialogShowsTheStoredSizeOrSix();
    void configDialogControlsAndMenus();
    void sliderMovesRebuildThePreviewAtTheNewSize();
    void okStoresTheChosenSizeAndCancelDoesNot();
    void menuShortcutsActLikeTheButtons();
    void aboutFormTextAndLink();
    void fullScreenEndsOnACharacterKeyOrAClick();
    void fullScreenEndsOnTheSixthMoveWithinAPeriod();
    void passwordSwitchTellsThatTheServiceIsMissing();
    void previewOfAHandleThatIsNoWindowEndsOnTheFirstTick();
};

void SaverWindowsTest::configDialogShowsTheStoredSizeOrSix_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("slider");
    QTest::addColumn<double>("setting");
    QTest::newRow("ten") << "10" << 10 << 10.0;
    QTest::newRow("fraction") << "2.5" << 2 << 2.5;
    QTest::newRow("text") << "abc" << 6 << 6.0;
    QTest::newRow("too large") << "40" << 6 << 6.0;
    QTest::newRow("missing") << QString() << 6 << 6.0;
}

void SaverWindowsTest::configDialogShowsTheStoredSizeOrSix() {
    QFETCH(QString, stored);
    QFETCH(int, slider);
    QFETCH(double, setting);
    Rig rig(stored.isNull() ? std::nullopt : std::optional<std::string>(stored.toStdString()));
    QVERIFY(rig.start(SaverLaunch::Configure));
    ConfigDialog* dialog = rig.app.configDialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->squareSizeSlider->value(), slider);
    QCOMPARE(dialog->squareSizeLabel->text(), QString::number(slider));
    QCOMPARE(dialog->osize, setting);
    // Loading is not a choice: the world keeps the size as read, fraction included.
    QCOMPARE(rig.app.module().world.squareSizeSetting, setting);
    QVERIFY(!rig.app.module().world.rebuildRequested);
}

void SaverWindowsTest::configDialogControlsAndMenus() {
    Rig rig;
    rig.start(SaverLaunch::Configure);
    ConfigDialog* dialog = rig.app.configDialog();
    QCOMPARE(dialog->objectName(), QString("fConfig"));
    QCOMPARE(dialog->windowTitle(), QString("Bramblex 2 : Screen Saver Configuration"));
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->squareSizeSlider->minimum(), 2);
    QCOMPARE(dialog->squareSizeSlider->maximum(), 25);
    QCOMPARE(dialog->squareSizeSlider->singleStep(), 1);
    QCOMPARE(dialog->squareSizeSlider->pageStep(), 5);
    QCOMPARE(dialog->findChild<QLabel*>("Label1")->text(), QString("Square Size:"));
    QCOMPARE(dialog->findChild<QLabel*>("Label2")->text(), QString("Screen Saver"));
    QCOMPARE(dialog->findChild<QPushButton*>("cmdOK")->text(), QString("&Ok"));
    QCOMPARE(dialog->findChild<QPushButton*>("Command1")->text(), QString("&Cancel"));
    QVERIFY(dialog->findChild<SaverCanvas*>("picView"));
    QCOMPARE(dialog->findChild<QMenu*>("progmenu")->title(), QString("&Program"));
    QCOMPARE(dialog->findChild<QMenu*>("optmenu")->title(), QString("&Options"));
    const std::pair<const char*, QKeySequence> items[] = {{"helpmenu", QKeySequence(Qt::Key_F1)},
                                                          {"aboutmenu", QKeySequence(Qt::CTRL | Qt::Key_A)},
                                                          {"okmenu", QKeySequence(Qt::CTRL | Qt::Key_O)},
                                                          {"canmenu", QKeySequence(Qt::CTRL | Qt::Key_C)}};
    for (const auto& [name, keys] : items) {
        auto* action = dialog->findChild<QAction*>(name);
        QVERIFY2(action, name);
        QCOMPARE(action->shortcut(), keys);
    }
    // The live preview runs: the timer paints picView column by column.
    const QImage before = dialog->preview->pixels().view().copy();
    QTRY_VERIFY(dialog->preview->pixels().view() != before);
}

void SaverWindowsTest::sliderMovesRebuildThePreviewAtTheNewSize() {
    Rig rig;
    rig.start(SaverLaunch::Configure);
    ConfigDialog* dialog = rig.app.configDialog();
    SaverWorld& world = rig.app.module().world;
    QCOMPARE(world.gridSizeX, 40); // 240 pixels at 6
    for (const int size : {10, 24, 3}) {
        dialog->squareSizeSlider->setValue(size);
        QCOMPARE(dialog->squareSizeLabel->text(), QString::number(size));
        QCOMPARE(dialog->nsize, double(size));
        QVERIFY(world.rebuildRequested);
        QTRY_VERIFY(!world.rebuildRequested);
        QCOMPARE(world.squareSize, size);
        QCOMPARE(world.gridSizeX, qRound(240.0 / size));
    }
    QVERIFY(!rig.settings.squareSize()); // nothing stored by moving
}

void SaverWindowsTest::okStoresTheChosenSizeAndCancelDoesNot() {
    {
        Rig rig("6");
        rig.start(SaverLaunch::Configure);
        QSignalSpy finished(&rig.app, &SaverApp::finished);
        rig.app.configDialog()->squareSizeSlider->setValue(10);
        QTest::mouseClick(rig.app.configDialog()->cancelButton, Qt::LeftButton);
        QCOMPARE(rig.settings.squareSize(), std::optional<std::string>("6"));
        QCOMPARE(finished.count(), 1);
        QVERIFY(!rig.app.configDialog()->isVisible());
    }
    {
        Rig rig("6");
        rig.start(SaverLaunch::Configure);
        QSignalSpy finished(&rig.app, &SaverApp::finished);
        rig.app.configDialog()->squareSizeSlider->setValue(10);
        QTest::mouseClick(rig.app.configDialog()->okButton, Qt::LeftButton);
        QCOMPARE(rig.settings.squareSize(), std::optional<std::string>("10"));
        QCOMPARE(rig.app.configDialog()->osize, 10.0);
        QCOMPARE(finished.count(), 1);
    }
}

void SaverWindowsTest::menuShortcutsActLikeTheButtons() {
    {
        Rig rig("6");
        rig.start(SaverLaunch::Configure);
        ConfigDialog* dialog = rig.app.configDialog();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QTest::keyClick(dialog, Qt::Key_F1);
        QCOMPARE(rig.fake.help.calls.size(), std::size_t(1));
        QCOMPARE(rig.fake.help.calls[0].file, std::string("/opt/bx/bramblexss.hlp"));
        QCOMPARE(rig.fake.help.calls[0].command, int(HelpContext));
        QTest::keyClick(dialog, Qt::Key_A, Qt::ControlModifier);
        QTRY_VERIFY(rig.app.aboutForm()->isVisible());
        rig.app.aboutForm()->doneButton->click();
        QTRY_VERIFY(QTest::qWaitForWindowActive(dialog));
        dialog->squareSizeSlider->setValue(12);
        QTest::keyClick(dialog, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(rig.app.hasEnded());
        QCOMPARE(rig.settings.squareSize(), std::optional<std::string>("6"));
    }
    {
        Rig rig("6");
        rig.start(SaverLaunch::Configure);
        ConfigDialog* dialog = rig.app.configDialog();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        dialog->squareSizeSlider->setValue(12);
        QTest::keyClick(dialog, Qt::Key_O, Qt::ControlModifier);
        QVERIFY(rig.app.hasEnded());
        QCOMPARE(rig.settings.squareSize(), std::optional<std::string>("12"));
    }
}

void SaverWindowsTest::aboutFormTextAndLink() {
    test::FakePlatform fake;
    AboutForm about(fake.messages, fake.help, fake.browser, "/opt/bx/bramblexss.hlp");
    about.setVersionText("2.0");
    QCOMPARE(about.objectName(), QString("aboutform"));
    QCOMPARE(about.windowTitle(), QString("About Bramblex 2 Screen Saver"));
    QCOMPARE(about.versionLabel->text(), QString("2.0"));
    QCOMPARE(about.titleLabel->text(), QString("Bramblex 2"));
    QCOMPARE(about.doneButton->text(), QString("&Done"));
    const QStringList lines = about.information->toPlainText().split('\n');
    QCOMPARE(lines.size(), 8);
    QCOMPARE(lines[0], QString("Bramblex 2.0 Screen Saver."));
    QCOMPARE(lines[5], QString("Please press F1 to read the help file."));
    QCOMPARE(lines[7], QString("If you like this program, why not try Bramblex 2 itself!"));
    QVERIFY(aboutText("2.0").contains("\r\n"));

    QTest::mouseClick(about.webLink, Qt::LeftButton);
    QCOMPARE(fake.browser.opened, std::vector<std::string>{publisherAddress});
    QVERIFY(fake.messages.notices.empty());
    fake.browser.result = BrowserResult::NoBrowser;
    QTest::mouseClick(about.webLink, Qt::LeftButton);
    fake.browser.result = BrowserResult::CouldNotOpen;
    QTest::mouseClick(about.webLink, Qt::LeftButton);
    QCOMPARE(fake.messages.notices.size(), std::size_t(2));
    QCOMPARE(fake.messages.notices[0].text, std::string("Error: No web browser found."));
    QCOMPARE(fake.messages.notices[1].text, std::string("Error: Could not open web page."));
    QCOMPARE(fake.messages.notices[1].title, std::string("bramblex2ss"));
}

void SaverWindowsTest::fullScreenEndsOnACharacterKeyOrAClick() {
    {
        Rig rig;
        QVERIFY(rig.start(SaverLaunch::FullScreen));
        ScreenWindow* screen = rig.app.screenWindow();
        QCOMPARE(screen->objectName(), QString("fScreen"));
        QCOMPARE(screen->geometry(), QRect(0, 0, 320, 240));
        QVERIFY(screen->windowFlags() & Qt::WindowStaysOnTopHint);
        // Left alone by the window manager, which would make it full screen on one monitor only.
        QVERIFY(screen->windowFlags() & Qt::X11BypassWindowManagerHint);
        QVERIFY(rig.fake.cursor.count() < 0); // pointer hidden
        QCOMPARE(rig.app.module().world.gridSizeX, 53);
        QTRY_VERIFY(screen->pixels().pixelColour(3, 3) != 0 || screen->pixels().pixelColour(160, 120) != 0 ||
                    rig.app.module().world.stepColumn > 2);
        for (const Qt::Key key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Left, Qt::Key_F5})
            QTest::keyClick(screen, key);
        QVERIFY(!rig.app.hasEnded());
        QTest::keyClick(screen, Qt::Key_Q);
        QVERIFY(rig.app.hasEnded());
        QVERIFY(!screen->isVisible());
        QCOMPARE(rig.fake.cursor.count(), 0); // the pointer is back
        QVERIFY(!screen->tickTimer->isActive());
    }
    {
        Rig rig;
        rig.start(SaverLaunch::FullScreen);
        rig.fake.cursor.counter = -3; // hidden more than once by someone else
        QTest::mouseClick(rig.app.screenWindow(), Qt::RightButton);
        QVERIFY(rig.app.hasEnded());
        QCOMPARE(rig.fake.cursor.count(), 0);
    }
    {
        Rig rig; // the window manager's close key, which the saver's keyboard grab keeps from it
        rig.start(SaverLaunch::FullScreen);
        QTest::keyClick(rig.app.screenWindow(), Qt::Key_F4, Qt::AltModifier);
        QVERIFY(rig.app.hasEnded());
    }
}

void SaverWindowsTest::fullScreenEndsOnTheSixthMoveWithinAPeriod() {
    Rig rig;
    rig.start(SaverLaunch::FullScreen);
    ScreenWindow* screen = rig.app.screenWindow();
    QCOMPARE(screen->mouseTimer->interval(), 5000);
    QVERIFY(screen->mouseTimer->isActive());
    const auto move = [screen](int i) {
        QMouseEvent e(QEvent::MouseMove, QPointF(10 + i, 10), screen->mapToGlobal(QPointF(10 + i, 10)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(screen, &e);
    };
    for (int i = 0; i < 5; ++i)
        move(i);
    QVERIFY(!rig.app.hasEnded());
    screen->mouseTimer->start(1);        // the period ends
    QTRY_COMPARE(screen->mouseMoves, 0); // a new period starts counting afresh
    screen->mouseTimer->start(5000);
    for (int i = 0; i < 5; ++i)
        move(i);
    QVERIFY(!rig.app.hasEnded());
    move(6);
    QVERIFY(rig.app.hasEnded());
}

void SaverWindowsTest::passwordSwitchTellsThatTheServiceIsMissing() {
    Rig rig;
    QVERIFY(!rig.start(SaverLaunch::Password, 99));
    QCOMPARE(rig.fake.messages.notices.size(), std::size_t(1));
    const Notice& notice = rig.fake.messages.notices[0];
    QCOMPARE(
        notice.text,
        std::string(
            "Certain libraries are missing from your system.\rThe screen saver password cannot be set."));
    QCOMPARE(notice.title, std::string("bramblex2ss"));
    QCOMPARE(int(notice.icon), int(MessageIcon::Exclamation));
    QVERIFY(!rig.app.screenWindow());

    Rig none;
    QVERIFY(!none.start(SaverLaunch::None));
    QVERIFY(!none.app.screenWindow() && !none.app.configDialog() && !none.app.listenWindow());
    QVERIFY(none.fake.messages.notices.empty());
}

void SaverWindowsTest::previewOfAHandleThatIsNoWindowEndsOnTheFirstTick() {
    Rig rig;
    QSignalSpy finished(&rig.app, &SaverApp::finished);
    QVERIFY(rig.start(SaverLaunch::Preview, 0));
    ListenWindow* listen = rig.app.listenWindow();
    QCOMPARE(listen->objectName(), QString("fListen"));
    QCOMPARE(listen->preview->objectName(), QString("picPreview"));
    QVERIFY(!listen->isVisible());
    QVERIFY(!rig.app.module().previewAttached);
    QCOMPARE(rig.app.module().world.gridSizeX, 0); // nothing to draw on
    QVERIFY(listen->tickTimer->isActive());
    QTRY_COMPARE(finished.count(), 1);
    QVERIFY(!listen->tickTimer->isActive());
    QVERIFY(rig.app.hasEnded());
}

} // namespace bx

QTEST_MAIN(bx::SaverWindowsTest)
#include "saverwindows_test.moc"

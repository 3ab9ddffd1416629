// The options window's Screensaver page: the shared square size, the installed and active status
// in the desktop's screensaver hosts, Install / Uninstall, Activate, Test and Help, on temporary
// home and XDG folders with the hosts' tools faked.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "simulatorstart.h"
#include "support/fakeplatform.h"
#include "ui/mainwindow.h"
#include "ui/optionswindow.h"
#include "ui/screensavercommands.h"
#include "ui/simulatorapp.h"

using namespace bx;

namespace {

const test::MemorySettingsStore::Key sizeKey{"Bramblex 2", "General", "Square Size"};
const char* const saverFiles[] = {"Bramblex 2.scr", "bramblexss.hlp", "bramblexss.cnt"};

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& text) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

} // namespace

class ScreensaverPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::FakePlatform> fakes;
    std::unique_ptr<QTemporaryDir> programFolder, dataFolder;
    std::unique_ptr<SimulatorApp> app;

    OptionsWindow& window() { return app->optionsWindow(); }
    QString program(const char* name = "") { return programFolder->path() + "/" + name; }
    QString home(const char* name = "") { return dataFolder->path() + "/home/" + name; }
    QString entry() {
        return dataFolder->path() + "/data/applications/screensavers/bramblex2-screensaver.desktop";
    }
    QString packaged() { return dataFolder->path() + "/libexec/bramblex2-screensaver"; }
    QString label(const char* name) { return test::controlOf<QLabel>(window(), name)->text(); }
    std::optional<std::string> stored() {
        const auto it = fakes->settings.values.find(sizeKey);
        return it == fakes->settings.values.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    void openPage() {
        test::itemOf(app->mainWindow(), "options2")->trigger();
        window().selectTab(5);
    }
    void ok() {
        fakes->messages.answers = {Answer::No}; // the options question: the size is stored anyway
        test::buttonOf(window(), "okbutton")->click();
    }
    void checkNotice(const char* title, const char* text, MessageIcon icon, int context, bool helpButton) {
        QCOMPARE(fakes->messages.notices.size(), size_t(1));
        const Notice& n = fakes->messages.notices.front();
        QCOMPARE(QString::fromStdString(n.title), QString(title));
        QCOMPARE(QString::fromStdString(n.text), QString(text));
        QCOMPARE(n.icon, icon);
        QCOMPARE(n.helpContext, context);
        QCOMPARE(n.helpButton, helpButton);
        QCOMPARE(QString::fromStdString(n.helpFile), program("bramblex.hlp"));
    }

private slots:
    void init() {
        fakes = std::make_unique<test::FakePlatform>();
        programFolder = std::make_unique<QTemporaryDir>();
        dataFolder = std::make_unique<QTemporaryDir>();
        for (const char* name : saverFiles)
            writeFile(program(name), QByteArray("copy of ") + name);
        QDir().mkpath(home());
        QDir().mkpath(dataFolder->path() + "/libexec");
        const std::string root = dataFolder->path().toStdString();
        fakes->folders = {root + "/home", root + "/config", root + "/data", root + "/libexec", {}};
        const std::string folder = programFolder->path().toStdString();
        app = test::startSimulator(*fakes, QString::fromStdString(folder), 3);
    }
    void cleanup() {
        app.reset();
        programFolder.reset();
        dataFolder.reset();
    }

    void storedSizeIsShownAndKeptOnOk_data() {
        QTest::addColumn<QString>("text"); // "<none>": no value stored
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("storedOnOk");
        QTest::newRow("twelve") << "12" << 12 << "12";
        QTest::newRow("above range") << "30" << 6 << "6";
        QTest::newRow("not a number") << "abc" << 6 << "6";
        QTest::newRow("below range") << "1" << 6 << "6";
        QTest::newRow("nothing stored") << "<none>" << 6 << "6";
        QTest::newRow("half rounds to even") << "12.5" << 12 << "12.5";
    }
    void storedSizeIsShownAndKeptOnOk() {
        QFETCH(QString, text);
        QFETCH(int, shown);
        QFETCH(QString, storedOnOk);
        if (text != "<none>")
            fakes->settings.values[sizeKey] = text.toStdString();
        openPage();
        QCOMPARE(test::controlOf<QSlider>(window(), "Slider1")->value(), shown);
        QCOMPARE(test::controlOf<QLabel>(window(), "Label13")->text(), QString::number(shown));
        ok();
        QCOMPARE(stored(), std::optional<std::string>(storedOnOk.toStdString()));
    }

    void movedSliderIsStoredByOkActivateAndTest_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("OK") << "okbutton";
        QTest::newRow("Activate") << "Command4";
        QTest::newRow("Test") << "Command5";
    }
    void movedSliderIsStoredByOkActivateAndTest() {
        QFETCH(QString, button);
        openPage();
        test::controlOf<QSlider>(window(), "Slider1")->setValue(12);
        QCOMPARE(test::controlOf<QLabel>(window(), "Label13")->text(), QString("12"));
        QCOMPARE(app->screensaverCommands().nSize, std::optional<double>(12));
        fakes->messages.answers = {Answer::No};
        window().findChild<QPushButton*>(button)->click();
        QCOMPARE(stored(), std::optional<std::string>("12"));
    }

    void okBeforeThePageWasShownKeepsTheStoredSize_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("storedOnOk");
        QTest::newRow("valid") << "14"
                               << "14";
        QTest::newRow("nothing stored") << "<none>"
                                        << "6";
        QTest::newRow("unusable") << "abc"
                                  << "6";
    }
    void okBeforeThePageWasShownKeepsTheStoredSize() {
        QFETCH(QString, text);
        QFETCH(QString, storedOnOk);
        if (text != "<none>")
            fakes->settings.values[sizeKey] = text.toStdString();
        test::itemOf(app->mainWindow(), "options2")->trigger(); // the General page
        ok();
        QCOMPARE(stored(), std::optional<std::string>(storedOnOk.toStdString()));
    }

    void cancelForgetsAChosenSize() {
        fakes->settings.values.insert_or_assign(
            sizeKey, std::string(1, '8')); // not "8": GCC 12 warns falsely (-Wrestrict) there
        openPage();
        test::controlOf<QSlider>(window(), "Slider1")->setValue(20);
        test::buttonOf(window(), "cancelbutton")->click();
        test::itemOf(app->mainWindow(), "options2")->trigger();
        ok();
        QCOMPARE(stored(), std::optional<std::string>("8"));
        QCOMPARE(test::controlOf<QSlider>(window(), "Slider1")->value(), 8);
    }

    void installWritesTheUserEntryAndUninstallTakesItBack() {
        fakes->commands.installed = {"xscreensaver"};
        writeFile(home(".xscreensaver"), "mode: random\nprograms:  maze --root  \\n\n");
        openPage();
        QCOMPARE(label("Label12"), QString("Not Installed"));
        test::buttonOf(window(), "Command3")->click();
        QVERIFY(fakes->messages.notices.empty());
        QCOMPARE(label("Label12"), QString("Installed"));
        QCOMPARE(test::buttonOf(window(), "Command3")->text(), QString("Uninstall"));
        QVERIFY(test::buttonOf(window(), "Command3")->isEnabled());
        QVERIFY(readFile(entry()).contains("\nExec=\"" + program("Bramblex 2.scr").toUtf8() + "\" --root\n"));
        QVERIFY(readFile(home(".xscreensaver"))
                    .contains("\"Bramblex 2\"  '" + program("Bramblex 2.scr").toUtf8()));
        test::buttonOf(window(), "Command3")->click();
        QCOMPARE(label("Label12"), QString("Not Installed"));
        QCOMPARE(test::buttonOf(window(), "Command3")->text(), QString("Install"));
        QVERIFY(!QFile::exists(entry()));
        QCOMPARE(readFile(home(".xscreensaver")), QByteArray("mode: random\nprograms:  maze --root  \\n\n"));
    }

    void installWithoutTheSaverSaysSo() {
        QFile::remove(program("Bramblex 2.scr"));
        openPage();
        test::buttonOf(window(), "Command3")->click();
        checkNotice("Screensaver error", "Error installing screensaver.", MessageIcon::None,
                    help::installScreensaver, false);
        QCOMPARE(label("Label12"), QString("Not Installed"));
        QVERIFY(!QFile::exists(entry()));
    }

    void thePackagedSaverIsInstalledAndNotUninstalled() {
        writeFile(packaged(), "saver");
        openPage();
        QCOMPARE(label("Label12"), QString("Installed"));
        QCOMPARE(test::buttonOf(window(), "Command3")->text(), QString("Install"));
        QVERIFY(!test::buttonOf(window(), "Command3")->isEnabled());
    }

    void activateSetsEveryHostAndShowsActive() {
        writeFile(packaged(), "saver");
        fakes->commands.installed = {"xscreensaver", "mate-screensaver", "gsettings"};
        fakes->commands.settings = {{"org.mate.screensaver mode", "'random'"}};
        writeFile(home(".xscreensaver"), "mode: random\nselected: 0\nprograms:  maze --root  \\n\n");
        openPage();
        QCOMPARE(label("Label11"), QString("Not Active"));
        test::buttonOf(window(), "Command4")->click();
        QVERIFY(fakes->messages.notices.empty());
        QCOMPARE(label("Label11"), QString("Active"));
        QVERIFY(!test::buttonOf(window(), "Command4")->isEnabled());
        QVERIFY(readFile(home(".xscreensaver")).startsWith("mode: one\nselected: 1\n"));
        QCOMPARE(fakes->commands.settings["org.mate.screensaver mode"], std::string("'single'"));
        fakes->commands.settings["org.mate.screensaver mode"] = "'random'"; // changed elsewhere
        openPage();
        QCOMPARE(label("Label11"), QString("Not Active"));
        QVERIFY(test::buttonOf(window(), "Command4")->isEnabled());
    }

    void activateWithoutAHostSaysWhichPackageToInstall() {
        openPage();
        test::buttonOf(window(), "Command4")->click();
        checkNotice("No screensaver host", hostPackagesAdvice, MessageIcon::Exclamation, help::systemIni,
                    true);
        QCOMPARE(label("Label11"), QString("Not Active"));
        QVERIFY(test::buttonOf(window(), "Command4")->isEnabled());
        QVERIFY(!QFile::exists(entry()));
        QVERIFY(!QFile::exists(home(".xscreensaver")));
    }

    void aHostThatCannotBeSetIsNamed() {
        fakes->commands.installed = {"mate-screensaver", "gsettings"}; // a copy of one's own: MATE refuses
        openPage();
        test::buttonOf(window(), "Command4")->click();
        QCOMPARE(fakes->messages.notices.size(), size_t(1));
        QVERIFY(QString::fromStdString(fakes->messages.notices[0].text)
                    .startsWith("Error adjusting the screensaver settings.\rMATE: "));
        QCOMPARE(label("Label11"), QString("Not Active"));
    }

    void testStartsTheCopyBesideTheProgram() {
        openPage();
        test::buttonOf(window(), "Command5")->click();
        QCOMPARE(fakes->programs.started.size(), size_t(1));
        QCOMPARE(QString::fromStdString(fakes->programs.started[0].program), program("Bramblex 2.scr"));
        QCOMPARE(fakes->programs.started[0].arguments, std::vector<std::string>{"/S"});
        QVERIFY(fakes->messages.notices.empty());
    }

    void testThatCannotStartSaysScreensaverNotFound() {
        fakes->programs.result = false;
        openPage();
        test::buttonOf(window(), "Command5")->click();
        checkNotice("Screensaver not found", "Screensaver not found.\rPlease re-install Bramblex 2.",
                    MessageIcon::Exclamation, help::testScreensaver, true);
    }

    void helpOpensTheScreensaversHelpFile() {
        openPage();
        test::buttonOf(window(), "Command6")->click();
        QCOMPARE(fakes->help.calls.size(), size_t(1));
        QCOMPARE(QString::fromStdString(fakes->help.calls[0].file), program("bramblexss.hlp"));
        QCOMPARE(fakes->help.calls[0].command, int(HelpContext));
    }
};

QTEST_MAIN(ScreensaverPageTest)
#include "screensaverpage_test.moc"

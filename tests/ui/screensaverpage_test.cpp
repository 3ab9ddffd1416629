// The options window's Screensaver page: the shared square size, the installed and active status,
// Install, Activate, Test and Help, on temporary folders playing the system's roles.
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
    QString system(const char* name = "") { return dataFolder->path() + "/windows/system/" + name; }
    QString ini() { return dataFolder->path() + "/windows/system.ini"; }
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
        QDir().mkpath(system());
        writeFile(ini(), "[Boot]\r\nshell=Explorer.exe\r\n");
        fakes->folders.windows = (dataFolder->path() + "/windows").toStdString();
        fakes->folders.system = system().chopped(1).toStdString();
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

    void installCopiesTheFilesAndShowsInstalled() {
        openPage();
        QCOMPARE(test::controlOf<QLabel>(window(), "Label12")->text(), QString("Not Installed"));
        QVERIFY(test::buttonOf(window(), "Command3")->isEnabled());
        test::buttonOf(window(), "Command3")->click();
        QVERIFY(fakes->messages.notices.empty());
        QCOMPARE(test::controlOf<QLabel>(window(), "Label12")->text(), QString("Installed"));
        QVERIFY(!test::buttonOf(window(), "Command3")->isEnabled());
        for (const char* name : saverFiles)
            QCOMPARE(readFile(system(name)), QByteArray("copy of ") + name);
    }

    void installWithAFileMissingSaysSoAndCopiesTheOthers() {
        QFile::remove(program("bramblexss.cnt"));
        openPage();
        test::buttonOf(window(), "Command3")->click();
        checkNotice("Screensaver error", "Error installing screensaver.", MessageIcon::None,
                    help::installScreensaver, false);
        QCOMPARE(test::controlOf<QLabel>(window(), "Label12")->text(), QString("Not Installed"));
        QVERIFY(test::buttonOf(window(), "Command3")->isEnabled());
        QVERIFY(QFile::exists(system("Bramblex 2.scr")));
        QVERIFY(QFile::exists(system("bramblexss.hlp")));
    }

    void activateWritesTheIniFileAndShowsActive() {
        openPage();
        test::buttonOf(window(), "Command4")->click();
        QVERIFY(fakes->messages.notices.empty());
        QCOMPARE(test::controlOf<QLabel>(window(), "Label11")->text(), QString("Active"));
        QVERIFY(!test::buttonOf(window(), "Command4")->isEnabled());
        QCOMPARE(readFile(ini()), QByteArray("[boot]\r\nSCRNSAVE.EXE=") + system().chopped(1).toUtf8() +
                                      "\\BRAMBL~1.SCR\r\nshell=Explorer.exe\r\n\r\n");
    }

    void activateWithoutAnIniFileSaysSoAndCreatesNone() {
        QFile::remove(ini());
        openPage();
        test::buttonOf(window(), "Command4")->click();
        checkNotice("INI File error", "Error adjusting system INI file.", MessageIcon::None, help::systemIni,
                    false);
        QCOMPARE(test::controlOf<QLabel>(window(), "Label11")->text(), QString("Not Active"));
        QVERIFY(test::buttonOf(window(), "Command4")->isEnabled());
        QVERIFY(!QFile::exists(ini()));
    }

    void refreshShowsWhatTheFoldersHold_data() {
        QTest::addColumn<QString>("installedFile");
        QTest::addColumn<QByteArray>("iniText");
        QTest::addColumn<QString>("installed");
        QTest::addColumn<QString>("active");
        const QByteArray named = "[boot]\r\nscrnsave.exe=c:\\windows\\system\\Brambl~1.scr\r\n";
        QTest::newRow("installed and active") << "Bramblex 2.scr" << named << "Installed"
                                              << "Active";
        QTest::newRow("installed, another saver")
            << "Bramblex 2.scr" << QByteArray("[boot]\r\nSCRNSAVE.EXE=x.scr\r\n") << "Installed"
            << "Not Active";
        QTest::newRow("word in front") << "Old Bramblex 2.scr" << named << "Installed"
                                       << "Active";
        // Not installed: the active label keeps what it showed, whatever the INI file says.
        QTest::newRow("other letter case") << "bramblex 2.scr" << named << "Not Installed"
                                           << "Not Active";
    }
    void refreshShowsWhatTheFoldersHold() {
        QFETCH(QString, installedFile);
        QFETCH(QByteArray, iniText);
        QFETCH(QString, installed);
        QFETCH(QString, active);
        writeFile(system(installedFile.toUtf8().constData()), "x");
        writeFile(ini(), iniText);
        openPage();
        QCOMPARE(test::controlOf<QLabel>(window(), "Label12")->text(), installed);
        QCOMPARE(test::buttonOf(window(), "Command3")->isEnabled(), installed != "Installed");
        QCOMPARE(test::controlOf<QLabel>(window(), "Label11")->text(), active);
        QCOMPARE(test::buttonOf(window(), "Command4")->isEnabled(), active != "Active");
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

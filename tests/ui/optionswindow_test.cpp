// The options window, its flows and the profile commands, driven through the real windows offscreen.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <span>

#include "options/profilefile.h"
#include "simulatorstart.h"
#include "support/fakeplatform.h"
#include "ui/colourschemes.h"
#include "ui/mainwindow.h"
#include "ui/optionscommands.h"
#include "ui/optionswindow.h"
#include "ui/profilecommands.h"
#include "ui/simulatorapp.h"

using namespace bx;

namespace {

constexpr int32_t red = 255, blue = 255 * 65536, yellow = 255 + 255 * 256, black = 0;

} // namespace

class OptionsWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::FakePlatform> fakes;
    std::unique_ptr<QTemporaryDir> programFolder;
    std::unique_ptr<SimulatorApp> app;

    OptionsWindow& window() { return app->optionsWindow(); }
    MainWindow& main() { return app->mainWindow(); }
    const WorldState& world() const { return app->world(); }
    auto& driver() { return test::DriverProbe::of(app->simulation()); }
    SimulationOptions& options() { return app->options(); }
    template <class T = QWidget> T* control(const char* name) { return test::controlOf<T>(window(), name); }
    QLineEdit* box(const char* name) { return control<QLineEdit>(name); }
    QString profiles() { return programFolder->path() + "/Profiles"; }

    void tickUntilIdle() {
        for (int i = 0; world().phase != Phase::Idle && i < 20000; ++i)
            app->tick();
    }
    void open() { test::itemOf(main(), "options2")->trigger(); }
    // Types over the whole text, as a user must: an emptied box at once shows the stored value.
    void type(const char* name, const QString& text) {
        QLineEdit* b = box(name);
        b->selectAll();
        QTest::keyClicks(b, text);
    }
    void accept() {
        fakes->messages.answers = {Answer::Yes};
        control<QPushButton>("okbutton")->click();
    }
    std::vector<int32_t> swatches(const char* prefix) {
        std::vector<int32_t> colours;
        for (int k = 1; k <= 6; ++k)
            colours.push_back(
                control<SwatchButton>(QByteArray(prefix + QByteArray::number(k)).constData())->colour());
        return colours;
    }
    void makeProfiles(const QStringList& names) {
        QDir().mkpath(profiles());
        for (const QString& n : names) {
            const std::string error = writeProfile((profiles() + "/" + n).toStdString(), options(), world());
            QVERIFY2(error.empty(), error.c_str());
        }
    }
    static int visibleQuickItems(std::span<QAction* const, 7> items) {
        return int(std::count_if(items.begin(), items.end(), [](QAction* a) { return a->isVisible(); }));
    }

private slots:
    void init() {
        fakes = std::make_unique<test::FakePlatform>();
        programFolder = std::make_unique<QTemporaryDir>();
        app = test::startSimulator(*fakes, programFolder->path(), 7);
        tickUntilIdle();
    }
    void cleanup() {
        app.reset();
        programFolder.reset();
    }

    void formHasItsCaptionsAndIsModal() {
        QCOMPARE(window().windowTitle(), QString("Bramblex 2.1 Options"));
        QVERIFY(window().isModal());
        auto* tabs = control<QTabWidget>("TabStrip1");
        const QStringList captions{"&General", "O&rganisms", "&Environment", "Spec&ial", "Scree&nsaver"};
        const QStringList tips{"General program options", "Organism options", "Environment options",
                               "Special program options", "Screensaver options"};
        const QStringList frames{"General Options", "Organism Options", "Environment Options",
                                 "Special Options", "Screensaver Options"};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(tabs->tabText(i), captions[i]);
            QCOMPARE(tabs->tabToolTip(i), tips[i]);
            QCOMPARE(control<QGroupBox>(QByteArray("f" + QByteArray::number(i + 1)).constData())->title(),
                     frames[i]);
        }
        QCOMPARE(control<QSlider>("startorgslider")->maximum(), 2000);
        QCOMPARE(control<QSlider>("Slider1")->minimum(), 2);
        QCOMPARE(control<QSlider>("Slider1")->maximum(), 25);
        QCOMPARE(test::itemOf(window(), "savemenu")->shortcut(), QKeySequence(Qt::Key_F8));
        QCOMPARE(test::itemOf(window(), "screensavermenu")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(test::itemOf(window(), "profile8")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F8));
        // The layout sized the grid sliders from the 1024 x 768 screen.
        QCOMPARE(control<QSlider>("gridsizexslider")->maximum(), 974);
        QCOMPARE(control<QSlider>("gridsizeyslider")->maximum(), 818);
        QCOMPARE(box("screensizextext")->text(), QString("974"));
        QCOMPARE(box("screensizeytext")->text(), QString("818"));
    }

    // Every control the option table names is in the window once, shows its option as the record
    // holds it and gives it back on accept; a frequency box is enabled as its check box stands.
    void tableControlsShowAndTakeTheirOptions() {
        SimulationOptions& o = options();
        for (const OptionField& f : optionFields()) {
            if (f.control.kind == ControlKind::CheckBox)
                o.*f.flag = !(o.*f.flag);
            else if (f.control.kind == ControlKind::NumberBox)
                o.*f.integer = f.minimum + 1;
        }
        const SimulationOptions expected = o;
        window().showOptionsInWindow(); // as after loading a profile
        open();
        auto named = [](std::string_view name) {
            return QString::fromUtf8(name.data(), qsizetype(name.size()));
        };
        for (const OptionField& f : optionFields()) {
            const QString name = named(f.control.objectName);
            if (f.control.kind == ControlKind::CheckBox) {
                QCOMPARE(window().findChildren<QCheckBox*>(name).size(), 1);
                QVERIFY2(window().findChild<QCheckBox*>(name)->isChecked() == o.*f.flag, f.name.data());
            } else if (f.control.hasNumberBox()) {
                QCOMPARE(window().findChildren<QLineEdit*>(name).size(), 1);
                if (!f.control.sliderName.empty())
                    QCOMPARE(window().findChildren<QSlider*>(named(f.control.sliderName)).size(), 1);
                if (f.control.kind == ControlKind::NumberBox)
                    QCOMPARE(window().findChild<QLineEdit*>(name)->text(), QString::number(o.*f.integer));
            }
        }
        QCOMPARE(box("asteroidstext")->isEnabled(), o.asteroidsOn);
        QCOMPARE(box("mutationtext")->isEnabled(), o.mutationsOn);
        accept();
        QVERIFY(expected == options());
    }

    void boxesCorrectThemselvesAsTheUserTypes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("slider");
        QTest::newRow("letter after 7 gives the stored growth rate") << "growthratetext"
                                                                     << "7a"
                                                                     << "2"
                                                                     << "growthrateslider";
        QTest::newRow("300 is capped at 255") << "decayratetext"
                                              << "300"
                                              << "255"
                                              << "decayrateslider";
        QTest::newRow("a lone minus gives the stored value") << "growthratetext"
                                                             << "-"
                                                             << "2"
                                                             << "growthrateslider";
        QTest::newRow("150 is capped at 100") << "gridsizextext"
                                              << "150"
                                              << "100"
                                              << "gridsizexslider";
        QTest::newRow("a fraction stands") << "growthratetext"
                                           << "2.5"
                                           << "2.5"
                                           << "growthrateslider";
        QTest::newRow("start organisms above 2000") << "startorgtext"
                                                    << "2500"
                                                    << "2000"
                                                    << "startorgslider";
        QTest::newRow("frequency above its bound") << "asteroidstext"
                                                   << "200000000"
                                                   << "100000000"
                                                   << "";
    }
    void boxesCorrectThemselvesAsTheUserTypes() {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, slider);
        open();
        type(name.toLatin1().constData(), typed);
        QCOMPARE(box(name.toLatin1().constData())->text(), shown);
        if (!slider.isEmpty())
            QCOMPARE(control<QSlider>(slider.toLatin1().constData())->value(),
                     textToInteger(shown.toStdString()));
    }

    void acceptRoundsHalvesToEven_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::newRow("2.5") << "2.5" << 2;
        QTest::newRow("3.5") << "3.5" << 4;
    }
    void acceptRoundsHalvesToEven() {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        open();
        type("growthratetext", typed);
        accept();
        QCOMPARE(options().growthRate, stored);
        QVERIFY(!window().isVisible());
    }

    void slidersWriteTheirBoxes() {
        open();
        control<QSlider>("decayrateslider")->setValue(40);
        QCOMPARE(box("decayratetext")->text(), QString("40"));
        control<QSlider>("gridsizexslider")->setValue(300); // its range reaches the screen; the size does not
        QCOMPARE(control<QSlider>("gridsizexslider")->value(), 100);
        QCOMPARE(box("gridsizextext")->text(), QString("100"));
        control<QSlider>("Slider1")->setValue(12);
        QCOMPARE(control<QLabel>("Label13")->text(), QString("12"));
    }

    void fullOrganismsShowsFullAndBringsBackTheStoredCount() {
        open();
        type("startorgtext", "77");
        control<QCheckBox>("fullorganisms")->click();
        QCOMPARE(box("startorgtext")->text(), QString("Full"));
        QVERIFY(!box("startorgtext")->isEnabled());
        QVERIFY(!control<QSlider>("startorgslider")->isEnabled());
        QCOMPARE(control<QSlider>("startorgslider")->value(), 2000);
        control<QCheckBox>("fullorganisms")->click();
        QCOMPARE(box("startorgtext")->text(), QString("10"));
        QVERIFY(box("startorgtext")->isEnabled());
        control<QCheckBox>("fullorganisms")->click();
        accept();
        QVERIFY(options().fullOrganisms);
        QCOMPARE(options().startOrganisms, 10);
    }

    void environmentStartModesEnableTheirControls_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("slider");
        QTest::addColumn<bool>("countEnabled");
        QTest::addColumn<bool>("schemesEnabled");
        QTest::addColumn<bool>("swatchesEnabled"); // with Choose selected
        QTest::newRow("Random") << "Option1"
                                << "10" << 10 << true << true << true;
        QTest::newRow("Full") << "Option2"
                              << "Full" << 2000 << false << true << true;
        QTest::newRow("Ideal") << "Option3"
                               << "Full" << 2000 << false << false << false;
        QTest::newRow("None") << "Option4"
                              << "0" << 1 << false << false << false;
    }
    void environmentStartModesEnableTheirControls() {
        QFETCH(QString, mode);
        QFETCH(QString, text);
        QFETCH(int, slider);
        QFETCH(bool, countEnabled);
        QFETCH(bool, schemesEnabled);
        QFETCH(bool, swatchesEnabled);
        open();
        control<QRadioButton>("envcolorschoose")->click();
        control<QRadioButton>("Option3")->click(); // from a mode that disables everything
        control<QRadioButton>(mode.toLatin1().constData())->click();
        QCOMPARE(box("startenvironmenttext")->text(), text);
        QCOMPARE(box("startenvironmenttext")->isEnabled(), countEnabled);
        QCOMPARE(control<QSlider>("startenvironmentslider")->value(), slider);
        for (const char* name : {"envcolorsrandom", "envcolorsprimary", "envcolorschoose"})
            QCOMPARE(control<QRadioButton>(name)->isEnabled(), schemesEnabled);
        QCOMPARE(control<SwatchButton>("envcolorsuser3")->isEnabled(), swatchesEnabled);
    }

    void swatchesFollowTheScheme() {
        open();
        control<QRadioButton>("envcolorsprimary")->click();
        QVERIFY(!control<SwatchButton>("envcolorsuser1")->isEnabled());
        control<QRadioButton>("envcolorsrandom")->click();
        control<QRadioButton>("Option1")->click(); // Random start mode: swatches only with Choose
        QVERIFY(!control<SwatchButton>("envcolorsuser1")->isEnabled());
        control<QRadioButton>("envcolorschoose")->click();
        QVERIFY(control<SwatchButton>("envcolorsuser1")->isEnabled());
        fakes->colours.answers = {0x123456};
        control<SwatchButton>("envcolorsuser2")->click();
        QCOMPARE(control<SwatchButton>("envcolorsuser2")->colour(), 0x123456);
        control<QRadioButton>("envcolorsprimary")->click();
        control<QRadioButton>("envcolorschoose")->click(); // the starting colours, not the picked one
        QCOMPARE(control<SwatchButton>("envcolorsuser2")->colour(), 255 * 256);
    }

    void cancellingThePickerKeepsTheSwatch() {
        open();
        control<QRadioButton>("orgcolorschose")->click();
        fakes->colours.answers = {std::nullopt};
        control<SwatchButton>("orgcolorsuser4")->click();
        QCOMPARE(fakes->colours.initials.size(), size_t(1));
        QCOMPARE(control<SwatchButton>("orgcolorsuser4")->colour(), yellow);
    }

    void acceptStoresTheSwatchColoursOfAnyScheme_data() {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<int>("mode");
        QTest::addColumn<std::vector<int32_t>>("colours");
        QTest::newRow("Primary") << "orgcolorsprimary" << 2
                                 << std::vector<int32_t>{red, red, blue, blue, yellow, yellow};
        QTest::newRow("Random") << "orgcolorsrandom" << 1 << std::vector<int32_t>(6, black);
        QTest::newRow("Choose with a pick")
            << "orgcolorschose" << 3 << std::vector<int32_t>{red, 0x010203, blue, yellow, 0xff00ff, 0xffff00};
    }
    void acceptStoresTheSwatchColoursOfAnyScheme() {
        QFETCH(QString, scheme);
        QFETCH(int, mode);
        QFETCH(std::vector<int32_t>, colours);
        options().orgUserColour[0] = {9, 9, 9}; // what was stored before does not survive
        open();
        control<QRadioButton>(scheme.toLatin1().constData())->click();
        if (mode == ColourChoose) {
            fakes->colours.answers = {0x010203};
            control<SwatchButton>("orgcolorsuser2")->click();
        }
        accept();
        QCOMPARE(options().organismColourMode, mode);
        for (int k = 0; k < 6; ++k)
            QCOMPARE(packedColour(options().orgUserColour[k]), colours[k]);
        // Reopened from the record, Choose shows the stored colours, not the starting ones.
        QCOMPARE(swatches("orgcolorsuser"), colours);
    }

    void cancelThrowsAwayEditsOnEveryPage_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("Cancel button") << 0;
        QTest::newRow("Cancel changes item") << 1;
        QTest::newRow("close box") << 2;
        QTest::newRow("Escape") << 3;
    }
    void cancelThrowsAwayEditsOnEveryPage() {
        QFETCH(int, way);
        const SimulationOptions before = options();
        open();
        type("growthratetext", "99");
        type("gridsizeytext", "20");
        control<QCheckBox>("fullorganisms")->click();
        control<QRadioButton>("orgcolorsprimary")->click();
        control<QRadioButton>("Option4")->click();
        control<QCheckBox>("asteroidscheck")->click();
        control<QCheckBox>("psave")->click();
        switch (way) {
        case 0:
            control<QPushButton>("cancelbutton")->click();
            break;
        case 1:
            test::itemOf(window(), "cancelmenu")->trigger();
            break;
        case 2:
            window().close();
            break;
        case 3:
            QTest::keyClick(&window(), Qt::Key_Escape);
            break;
        }
        QVERIFY(!window().isVisible());
        QVERIFY(options() == before);
        QCOMPARE(world().phase, Phase::Idle);
        open();
        QCOMPARE(box("growthratetext")->text(), QString("2"));
        QCOMPARE(box("gridsizeytext")->text(), QString("50"));
        QVERIFY(!control<QCheckBox>("fullorganisms")->isChecked());
        QVERIFY(control<QRadioButton>("orgcolorsrandom")->isChecked());
        QVERIFY(control<QRadioButton>("Option1")->isChecked());
        QVERIFY(box("asteroidstext")->isEnabled());
        QVERIFY(!control<QCheckBox>("psave")->isChecked());
    }

    // Right after typing a value, with the focus still in its box, the window's keys still work.
    void menuShortcutsWinOverTheBoxesEditingKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("visibleAfter");
        QTest::addColumn<int>("growthRate");
        QTest::addColumn<int>("tab");
        QTest::newRow("ctrl_a_accepts") << int(Qt::Key_A) << false << 9 << 0;
        QTest::newRow("ctrl_c_cancels") << int(Qt::Key_C) << false << 2 << 0;
        QTest::newRow("ctrl_e_environment_page") << int(Qt::Key_E) << true << 2 << 2;
        QTest::newRow("ctrl_o_organisms_page") << int(Qt::Key_O) << true << 2 << 1;
    }
    void menuShortcutsWinOverTheBoxesEditingKeys() {
        QFETCH(int, key);
        QFETCH(bool, visibleAfter);
        QFETCH(int, growthRate);
        QFETCH(int, tab);
        open();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
        type("growthratetext", "9");
        box("growthratetext")->setFocus();
        fakes->messages.answers = {Answer::Yes};
        QTest::keyClick(box("growthratetext"), Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(window().isVisible(), visibleAfter);
        QCOMPARE(options().growthRate, growthRate);
        QCOMPARE(control<QTabWidget>("TabStrip1")->currentIndex(), tab);
    }

    void acceptAnsweredNoKeepsTheWindowOpenAndPaused() {
        test::buttonOf(main(), "startsim")->click();
        QCOMPARE(world().phase, Phase::Run);
        open();
        QCOMPARE(world().phase, Phase::Idle);
        QVERIFY(app->simulation().paused());
        type("decayratetext", "7");
        fakes->messages.answers = {Answer::No};
        control<QPushButton>("okbutton")->click();
        QCOMPARE(fakes->messages.asked.size(), size_t(1));
        const Question& q = fakes->messages.asked[0];
        QCOMPARE(QString::fromStdString(q.title), QString("Reset simulation?"));
        QCOMPARE(QString::fromStdString(q.text),
                 QString("This will use the current options and reset the simulation.\rAre you sure?"));
        QVERIFY(q.icon == MessageIcon::Exclamation);
        QVERIFY(q.defaultButton == DefaultButton::No);
        QCOMPARE(q.helpContext, 10003);
        QVERIFY(window().isVisible());
        QCOMPARE(world().phase, Phase::Idle);
        QVERIFY(world().running);
        QCOMPARE(options().decayRate, 3);
        app->tick();
        QCOMPARE(world().generation, 0); // the ticks go on and do nothing
        accept();
        QCOMPARE(options().decayRate, 7);
        QCOMPARE(world().phase, Phase::Create);
        tickUntilIdle(); // never idle while running: stops at the limit
        QCOMPARE(world().phase, Phase::Run);
    }

    void saveFromTheWindowSavesTheNewWorldOnceCreated() {
        const QString path = profiles() + "/new.bx2";
        fakes->files.saveAnswers = {path.toStdString()};
        open();
        type("gridsizextext", "30");
        control<QPushButton>("Command1")->click();
        QVERIFY(!window().isVisible());
        QCOMPARE(options().gridSizeX, 30);
        QCOMPARE(world().phase, Phase::Create);
        QVERIFY(!control<QPushButton>("Command1")->isEnabled());
        QVERIFY(!test::itemOf(window(), "savemenu")->isEnabled());
        QVERIFY(fakes->files.saved.empty());
        tickUntilIdle();
        QCOMPARE(fakes->files.saved.size(), size_t(1));
        QVERIFY(control<QPushButton>("Command1")->isEnabled());
        std::string error;
        const std::optional<Profile> saved = parseProfile(path.toStdString(), error);
        QVERIFY2(saved, error.c_str());
        QCOMPARE(saved->options.gridSizeX, 30);
        QCOMPARE(saved->organismCount, 10);
        QCOMPARE(test::itemOf(main(), "profile2")->text(), QString("new"));
        QVERIFY(test::itemOf(main(), "profile2")->isVisible());
    }

    void defaultsWhileOpenFinishCreatingTheWorld() {
        options().gridSizeX = 20;
        options().promptOnDefaults = false;
        open();
        control<QPushButton>("defaultsbutton")->click();
        QVERIFY(window().isVisible());
        QCOMPARE(box("gridsizextext")->text(), QString("50"));
        QCOMPARE(world().phase, Phase::Create); // built behind the window
        app->tick();
        QVERIFY(driver().environmentsPlaced > 0);
        control<QPushButton>("cancelbutton")->click();
        QCOMPARE(world().phase, Phase::Create); // the phase parked at opening (idle) is not put back
        tickUntilIdle();
        QCOMPARE(test::controlOf<QLabel>(main(), "orgs")->text(), QString("10"));
        QCOMPARE(world().orgGrid.sizeX(), 50);
        QVERIFY(test::buttonOf(main(), "startsim")->isEnabled());
    }

    void defaultsAskFirst() {
        options().gridSizeX = 20;
        fakes->messages.answers = {Answer::No};
        test::itemOf(main(), "defmenu")->trigger();
        QCOMPARE(options().gridSizeX, 20);
        const Question& q = fakes->messages.asked.at(0);
        QCOMPARE(QString::fromStdString(q.title), QString("Reset options to defaults?"));
        QCOMPARE(QString::fromStdString(q.text),
                 QString("This will reset all options to the default values.\r"
                         "Your simulation will be reset.\rAre you sure?"));
        QCOMPARE(q.helpContext, 10002);
        test::itemOf(main(), "hidesim")->trigger();
        fakes->messages.answers = {Answer::Yes};
        test::itemOf(main(), "defmenu")->trigger();
        QCOMPARE(options().gridSizeX, 50);
        QVERIFY(world().simulationShown);
        QCOMPARE(test::itemOf(main(), "hidesim")->text(),
                 QString("Hide S&imulation")); // the panel agrees with the flags
        QCOMPARE(world().phase, Phase::Create);
    }

    void helpStillOpensAfterEachDefaultsPath_data() {
        QTest::addColumn<QString>("path");
        for (const char* p :
             {"main:defmenu", "window:defaultsbutton", "window:resetmenu", "window:defaultmenu"})
            QTest::newRow(p) << QString(p);
    }
    void helpStillOpensAfterEachDefaultsPath() {
        QFETCH(QString, path);
        options().promptOnDefaults = false;
        const QString name = path.section(':', 1);
        if (path.startsWith("main")) {
            main().findChild<QAction*>(name)->trigger();
        } else {
            open();
            if (auto* b = window().findChild<QPushButton*>(name))
                b->click();
            else
                control<QAction>(name.toLatin1().constData())->trigger();
            control<QPushButton>("cancelbutton")->click();
        }
        test::itemOf(main(), "help")->trigger();
        QCOMPARE(QString::fromStdString(fakes->help.calls.back().file),
                 programFolder->path() + "/bramblex.hlp");
    }

    void saveFromMainDoesNotBringBackAStalePhase() {
        test::buttonOf(main(), "startsim")->click();
        open();
        control<QPushButton>("cancelbutton")->click();
        QCOMPARE(world().phase, Phase::Run);
        test::buttonOf(main(), "startsim")->click(); // stopped: idle
        fakes->files.saveAnswers = {std::nullopt};
        test::buttonOf(main(), "savesim")->click();
        QCOMPARE(fakes->files.saved.size(), size_t(1));
        QCOMPARE(world().phase, Phase::Idle);
        QVERIFY(!world().running);
    }

    void pageItemsSelectTheirTabs() {
        open();
        auto* tabs = control<QTabWidget>("TabStrip1");
        const char* const pageItems[] = {"generalmenu", "organismsmenu", "environmentmenu", "specialmenu",
                                         "screensavermenu"};
        for (int i = 4; i >= 0; --i) {
            test::itemOf(window(), pageItems[i])->trigger();
            QCOMPARE(tabs->currentIndex(), i);
            QVERIFY(tabs->currentWidget()->isVisible());
        }
    }

    void helpWindowUsesTheLastHelpCommand() {
        open();
        test::itemOf(window(), "helpwindow")->trigger();
        test::itemOf(window(), "helpcontents")->trigger();
        test::itemOf(window(), "helpwindow")->trigger();
        test::itemOf(window(), "helpsearch")->trigger();
        test::itemOf(window(), "helpwindow")->trigger();
        QCOMPARE(fakes->help.calls.size(), size_t(5));
        const int expected[] = {1, 3, 3, 261, 261};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(fakes->help.calls[i].command, expected[i]);
            QCOMPARE(QString::fromStdString(fakes->help.calls[i].file),
                     programFolder->path() + "/bramblex.hlp");
        }
    }

    void profileMenusListTheFolder_data() {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("items");
        QTest::addColumn<bool>("more");
        QTest::newRow("none") << 0 << 0 << false;
        QTest::newRow("three") << 3 << 3 << false;
        QTest::newRow("seven") << 7 << 7 << false;
        QTest::newRow("eight") << 8 << 7 << true;
    }
    void profileMenusListTheFolder() {
        QFETCH(int, files);
        QFETCH(int, items);
        QFETCH(bool, more);
        QVERIFY(QDir(profiles()).exists()); // made by the first reset
        QStringList names;
        for (int i = files; i >= 1; --i) // written out of order, listed by name ignoring case
            names << QString(i % 2 ? "P%1.bx2" : "p%1.bx2").arg(i);
        makeProfiles(names);
        app->profiles().refreshProfileMenus();
        QCOMPARE(visibleQuickItems(test::quickItemsOf(main())), items);
        QCOMPARE(visibleQuickItems(test::quickItemsOf(window())), items);
        for (QAction* a : {test::itemOf(main(), "sep8"), test::itemOf(main(), "moreprof"),
                           test::itemOf(window(), "sep7"), test::itemOf(window(), "moreprof")})
            QCOMPARE(a->isVisible(), more);
        if (items > 0) {
            QCOMPARE(test::itemOf(main(), "profile2")->text(), QString("P1"));
            QCOMPARE(test::itemOf(window(), ("profile" + std::to_string(items - 1 + 2)).c_str())->text(),
                     QString(items % 2 ? "P%1" : "p%1").arg(items));
        }
        QCOMPARE(test::controlOf<QListWidget>(main(), "File1")->count(), files);
    }

    void quickProfileAsksThenLoads() {
        options().gridSizeX = 12;
        makeProfiles({"abc.bx2"});
        options().gridSizeX = 50;
        app->simulation().reset(); // refreshes the menus
        tickUntilIdle();
        test::buttonOf(main(), "startsim")->click();
        fakes->messages.answers = {Answer::No};
        test::itemOf(main(), "profile2")->trigger();
        QCOMPARE(QString::fromStdString(fakes->messages.asked.at(0).text),
                 QString("This will load the profile abc.\rAll data will be reset.\rAre you sure?"));
        QCOMPARE(fakes->messages.asked.at(0).helpContext, 10004);
        QVERIFY(world().running);
        fakes->messages.answers = {Answer::Yes};
        test::itemOf(main(), "profile2")->trigger();
        QVERIFY(!world().running);
        QCOMPARE(options().gridSizeX, 12);
        QCOMPARE(box("gridsizextext")->text(), QString("12"));
        QCOMPARE(world().phase, Phase::Draw);
    }

    void loadAsksForAFileInTheProfileFolder() {
        fakes->files.openAnswers = {std::nullopt};
        test::buttonOf(main(), "loadsim")->click();
        QCOMPARE(fakes->files.opened.size(), size_t(1));
        const FileDialogRequest& r = fakes->files.opened[0];
        QCOMPARE(QString::fromStdString(r.title), QString("Load Profile:"));
        QCOMPARE(QString::fromStdString(r.folder), profiles());
        QCOMPARE(r.filterIndex, 2);
        QCOMPARE(r.filters.size(), size_t(2));
        QCOMPARE(QString::fromStdString(r.filters[1].pattern), QString("*.bx2"));
        QCOMPARE(QString::fromStdString(fakes->messages.asked.at(0).text),
                 QString("This will load a saved profile.\rAll data will be reset.\rAre you sure?"));
    }

    void aBrokenOrMissingProfileChangesNothing_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("broken") << QString(BRAMBLEX_SOURCE_DIR) +
                                       "/tests/data/profiles/broken/start-mode-5.bx2";
        QTest::newRow("missing") << "/nonexistent/gone.bx2";
    }
    void aBrokenOrMissingProfileChangesNothing() {
        QFETCH(QString, path);
        test::buttonOf(main(), "startsim")->click();
        test::buttonOf(main(), "startsim")->click();
        const SimulationOptions options0 = options();
        const Grid org0 = world().orgGrid;
        const int generation0 = world().generation;
        fakes->files.openAnswers = {path.toStdString()};
        open();
        test::itemOf(window(), "loadmenu")->trigger();
        QCOMPARE(fakes->messages.notices.size(), size_t(1));
        QVERIFY(fakes->messages.notices[0].text.find(path.toStdString()) != std::string::npos);
        QVERIFY(options() == options0);
        QVERIFY(world().orgGrid == org0);
        QCOMPARE(world().generation, generation0);
        QVERIFY(window().isVisible());
        control<QPushButton>("cancelbutton")->click();
        QCOMPARE(world().phase, Phase::Idle);
    }

    void aQuickProfileThatHasGoneIsReportedAndLeavesTheMenu() {
        makeProfiles({"one.bx2", "two.bx2"});
        app->profiles().refreshProfileMenus();
        QFile::remove(profiles() + "/one.bx2");
        const SimulationOptions options0 = options();
        test::itemOf(main(), "profile2")->trigger();
        QCOMPARE(fakes->messages.notices.size(), size_t(1));
        QVERIFY(fakes->messages.notices[0].text.find("one.bx2") != std::string::npos);
        QVERIFY(options() == options0);
        QCOMPARE(test::itemOf(main(), "profile2")->text(), QString("two"));
        QCOMPARE(visibleQuickItems(test::quickItemsOf(main())), 1);
    }

    void overwriteNoAsksAgain() {
        makeProfiles({"old.bx2"});
        const QString path = profiles() + "/old.bx2";
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray oldContent = f.readAll();
        f.close();
        options().gridSizeX = 7; // would change the file if it were written
        fakes->files.saveAnswers = {path.toStdString(), std::nullopt};
        fakes->files.overwriteAnswers = {OverwriteAnswer::No};
        app->profiles().saveProfileAs();
        QCOMPARE(fakes->files.saved.size(), size_t(2));
        QCOMPARE(QString::fromStdString(fakes->files.saved[0].title), QString("Save Profile:"));
        QCOMPARE(QString::fromStdString(fakes->files.overwriteQuestions.at(0)),
                 QString("Overwrite file?|This file already exists.\rWould you like to overwrite it?"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), oldContent);
        QCOMPARE(test::itemOf(main(), "profile2")->text(), QString("old"));
    }

    void aFailedSaveSaysSo() {
        fakes->files.saveAnswers = {"/nonexistent/folder/x.bx2"};
        app->profiles().saveProfileAs();
        QCOMPARE(fakes->messages.notices.size(), size_t(1));
        QVERIFY(fakes->messages.notices[0].text.find("x.bx2") != std::string::npos);
    }
};

QTEST_MAIN(OptionsWindowTest)
#include "optionswindow_test.moc"

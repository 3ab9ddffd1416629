// The simulator's windows driven through their controls, offscreen.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <utility>

#include "platform/modalbox.h"
#include "platform/qtmessages.h"
#include "simulatorstart.h"
#include "support/fakeplatform.h"
#include "ui/aboutwindow.h"
#include "ui/displaywindow.h"
#include "ui/mainwindow.h"
#include "ui/optionswindow.h"
#include "ui/simulatorapp.h"
#include "ui/statisticswindow.h"
#include "ui/viewoperations.h"

using namespace bx;

class SimulatorTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::FakePlatform> fakes;
    std::unique_ptr<QTemporaryDir> programFolder; // resets make its Profiles folder
    std::unique_ptr<SimulatorApp> app;

    MainWindow& main() { return app->mainWindow(); }
    DisplayWindow& display() { return app->displayWindow(); }
    const WorldState& world() const { return app->world(); }
    auto& driver() { return test::DriverProbe::of(app->simulation()); }
    template <class T> T* control(const char* name) { return main().findChild<T*>(name); }
    QString label(const char* name) { return control<QLabel>(name)->text(); }

    void tickWhile(Phase phase, int limit = 10000) {
        for (int i = 0; world().phase == phase && i < limit; ++i)
            app->tick();
    }
    void createAndDraw() {
        tickWhile(Phase::Create);
        tickWhile(Phase::Draw);
    }
    void key(char c) { QTest::keyClick(&display(), c); }

private slots:
    void init() {
        fakes = std::make_unique<test::FakePlatform>();
        programFolder = std::make_unique<QTemporaryDir>();
        app = test::startSimulator(*fakes, programFolder->path(), 5);
    }
    void cleanup() {
        app.reset();
        programFolder.reset();
    }

    void startUpCreatesThenDrawsThenIdles() {
        QCOMPARE(main().windowTitle(), QString("Bramblex 2.1"));
        QCOMPARE(label("versionlabel"), QString("2.1"));
        QCOMPARE(app->aboutWindow().versionLabel->text(), QString("2.1"));
        QCOMPARE(app->aboutWindow().windowTitle(), QString("About Bramblex 2.1"));
        QVERIFY(!QApplication::topLevelWidgets().isEmpty());
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(w->objectName() != "splash" || !w->isVisible(),
                     "the splash closes at the end of start-up");
        QVERIFY(!control<QPushButton>("startsim")->isEnabled());
        // Start-up lets events run, so the timer may already have placed a seed or two.
        const int placed = driver().organismsPlaced + driver().environmentsPlaced;
        app->tick();
        QCOMPARE(display().windowTitle(), QString("Creating world, %1 of 20.").arg(placed + 1));
        tickWhile(Phase::Create);
        QVERIFY(display().windowTitle().startsWith("Drawing world, "));
        QVERIFY(control<QPushButton>("startsim")->isEnabled());
        tickWhile(Phase::Draw);
        QCOMPARE(world().phase, Phase::Idle);
        QCOMPARE(display().windowTitle(), QString("Simulator"));
        QCOMPARE(label("generation"), QString("0"));
        QCOMPARE(label("orgs"), QString("10"));
        QCOMPARE(label("envs"), QString("10"));
        QCOMPARE(display().size(), QSize(400, 400));
    }

    void startAndStopFollowTheirCaptions() {
        createAndDraw();
        control<QPushButton>("startsim")->click();
        QCOMPARE(control<QPushButton>("startsim")->text(), QString("Stop Sim&ulation"));
        QCOMPARE(test::itemOf(main(), "start")->text(), QString("Stop"));
        QCOMPARE(display().windowTitle(), QString("Running."));
        QVERIFY(test::controlOf<QTimer>(main(), "Timer1")->isActive());
        app->tick();
        QCOMPARE(display().windowTitle(), QString("Running 1 of 50."));
        test::itemOf(main(), "start")->trigger();
        QCOMPARE(control<QPushButton>("startsim")->text(), QString("Start Sim&ulation"));
        QCOMPARE(test::itemOf(main(), "start")->text(), QString("Start"));
        QCOMPARE(display().windowTitle(), QString("Simulator"));
        QVERIFY(!test::controlOf<QTimer>(main(), "Timer1")->isActive());
    }

    void panelAndOptionsKeepTheirSizeAndCannotBeMaximised() {
        createAndDraw();
        const QSize panel = main().size();
        for (const char* name : {"switchenv", "switchorg", "swapsim", "startsim"}) {
            control<QPushButton>(name)->click();
            QCoreApplication::processEvents();
            QCOMPARE(main().size(), panel);
        }
        test::controlOf<QLabel>(main(), "generation")->setText("2147483647");
        QCoreApplication::processEvents();
        QCOMPARE(main().size(), panel);
        QCOMPARE(main().minimumSize(), main().maximumSize());
        QVERIFY(!(main().windowFlags() & Qt::WindowMaximizeButtonHint));
        app->optionsWindow().show();
        QCoreApplication::processEvents();
        QCOMPARE(app->optionsWindow().minimumSize(), app->optionsWindow().maximumSize());
    }

    // The next start puts the panel, the canvas (at its laid-out size) and the Statistics window
    // where the user left them; a place off every screen is not used.
    void windowsComeBackWhereTheyWereLeft() {
        const QSize canvas = display().size();
        main().move(100, 60);
        display().move(500, 80);
        app->showStatistics();
        QWidget& statistics = app->statisticsWindow();
        statistics.move(50, 300);
        statistics.resize(500, 450);
        app->shutDown();
        const struct {
            const char *panel, *canvas;
            QPoint panelAt, canvasAt;
        } starts[] = {
            {nullptr, nullptr, {100, 60}, {500, 80}},
            {"-3000 -3000 500 400", "5000 80 999 999", {20, 40}, {}}, // {}: beside the panel
            {"100 60", "500 80 200 x", {20, 40}, {}},
        };
        for (const auto& start : starts) {
            if (start.panel) {
                fakes->settings.set("Bramblex 2", "Windows", "Panel", start.panel);
                fakes->settings.set("Bramblex 2", "Windows", "Canvas", start.canvas);
            }
            app.reset();
            app = test::startSimulator(*fakes, programFolder->path(), 5);
            QCOMPARE(main().pos(), start.panelAt);
            QCOMPARE(display().pos(), start.canvasAt.isNull()
                                          ? QPoint(main().frameGeometry().right() + 20, 40)
                                          : start.canvasAt);
            QCOMPARE(display().size(), canvas);
        }
        app->showStatistics();
        QCOMPARE(QRect(app->statisticsWindow().pos(), app->statisticsWindow().size()),
                 QRect(50, 300, 500, 450));
    }

    // At scale 2 the banner's letters have edges finer than one of its pixels at scale 1, which a
    // picture made at scale 1 and enlarged cannot have.
    void bannerIsSharpAtScaleTwo() {
        QLabel* banner = control<QLabel>("Picture1");
        QImage picture(banner->size() * 2, QImage::Format_RGB32);
        picture.setDevicePixelRatio(2);
        banner->render(&picture);
        int finer = 0;
        for (int y = 0; y < picture.height(); y += 2)
            for (int x = 0; x < picture.width(); x += 2) {
                const QRgb c = picture.pixel(x, y);
                finer += picture.pixel(x + 1, y) != c || picture.pixel(x, y + 1) != c ||
                         picture.pixel(x + 1, y + 1) != c;
            }
        QVERIFY2(finer > 100, qPrintable(QString::number(finer)));
    }

    void resetAnsweredNoChangesNothing() {
        createAndDraw();
        const Grid before = world().envGrid;
        fakes->messages.answers = {Answer::No};
        control<QPushButton>("resetsim")->click();
        QCOMPARE(fakes->messages.asked.size(), size_t(1));
        QCOMPARE(QString::fromStdString(fakes->messages.asked[0].title), QString("Reset Simulation?"));
        QCOMPARE(world().phase, Phase::Idle);
        QVERIFY(world().envGrid == before);
        fakes->messages.answers = {Answer::Yes};
        test::itemOf(main(), "reset")->trigger();
        QCOMPARE(world().phase, Phase::Create);
        QVERIFY(!test::itemOf(main(), "save")->isEnabled());
    }

    void sizeSliderAtOneHidesTheEnvironment() {
        createAndDraw();
        control<QSlider>("Slider1")->setValue(1);
        QCOMPARE(label("sizelabel"), QString("x 1"));
        QCOMPARE(world().squareSize, 1);
        QVERIFY(!world().showEnvironment);
        QCOMPARE(control<QPushButton>("switchenv")->text(), QString("Show &Environment"));
        QCOMPARE(test::itemOf(main(), "switchenvmenu")->text(), QString("Show &Environment"));
        QCOMPARE(world().phase, Phase::Draw);
        QCOMPARE(display().size(), QSize(50, 50));
        control<QSlider>("Slider1")->setValue(6); // 32-pixel squares halve until 50 rows fit 768 pixels
        QCOMPARE(world().squareSize, 8);
        QCOMPARE(control<QSlider>("Slider1")->value(), 4);
        QCOMPARE(label("sizelabel"), QString("x 4"));
        QCOMPARE(display().size(), QSize(400, 400));
    }

    void slowdownLabelsAndPasses() {
        auto* slider = control<QSlider>("slowdownslider");
        slider->setValue(5);
        QCOMPARE(label("slowdowntext"), QString("+5"));
        QCOMPARE(app->options().slowdown, 5);
        slider->setValue(-5);
        QCOMPARE(label("slowdowntext"), QString("-5"));
        QCOMPARE(app->simulation().passesPerTick(), 50);
        slider->setValue(-3);
        QCOMPARE(app->simulation().passesPerTick(), 12);
        slider->setValue(0);
        QCOMPARE(label("slowdowntext"), QString("None"));
        QCOMPARE(app->simulation().passesPerTick(), 1);
    }

    void displayKeysToggleViewsAndStartOnlyAfterCreation() {
        key('s'); // still creating: no start
        QVERIFY(!world().running);
        createAndDraw();
        key('S');
        QVERIFY(world().running);
        key('s');
        QVERIFY(!world().running);
        key('e');
        QVERIFY(!world().showEnvironment);
        key('o'); // hiding organisms too brings the environment back
        QVERIFY(!world().showOrganisms);
        QVERIFY(world().showEnvironment);
        key('O');
        key('r');
        QCOMPARE(world().phase, Phase::Draw);
        key('+'); // 16-pixel squares do not fit 768 pixels: back to 8
        QCOMPARE(control<QSlider>("Slider1")->value(), 4);
        QCOMPARE(world().squareSize, 8);
        key('-');
        key('_');
        QCOMPARE(control<QSlider>("Slider1")->value(), 2);
        QCOMPARE(world().squareSize, 2);
        QVERIFY(world().showEnvironment); // the keys do not hide the environment at small sizes
        key('h');
        QVERIFY(!world().simulationShown);
        QVERIFY(!display().isVisible());
        QCOMPARE(control<QPushButton>("swapsim")->text(), QString("Show S&imulation"));
        control<QPushButton>("swapsim")->click();
        QVERIFY(world().simulationShown);
        QVERIFY(display().isVisible());
    }

    void fullScreenHidesPanelAndCursorAndAnyOtherKeyLeaves() {
        createAndDraw();
        key('m');
        QVERIFY(world().fullScreen);
        QVERIFY(!main().isVisible());
        QCOMPARE(fakes->cursor.counter, -1);
        QCOMPARE(world().fullScreenSquareSize, 15); // 1024 / 50 = 20.48, 768 / 50 = 15.36
        key('e');                                   // acts without leaving
        QVERIFY(world().fullScreen);
        key('+'); // leaves, then the size key works
        QVERIFY(!world().fullScreen);
        QVERIFY(main().isVisible());
        QCOMPARE(fakes->cursor.counter, 0);
        QCOMPARE(display().windowTitle(), QString("Simulator"));
        fakes->cursor.counter = -3; // something else hid it too: leaving still gives it back
        key('m');
        QTest::mouseClick(&display(), Qt::LeftButton);
        QVERIFY(!world().fullScreen);
        QCOMPARE(fakes->cursor.counter, 0);
    }

    // F1 shows the help's contents from the panel and the canvas; in full screen it only leaves
    // it, and a message box keeps its own F1 (its topic).
    void f1ShowsTheHelpContents() {
        createAndDraw();
        for (QWidget* window : {static_cast<QWidget*>(&main()), static_cast<QWidget*>(&display())}) {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            QTest::keyClick(window, Qt::Key_F1);
        }
        const auto& calls = fakes->help.calls;
        QCOMPARE(calls.size(), size_t(2));
        for (const auto& call : calls) {
            QCOMPARE(call.command, int(HelpContents));
            QCOMPARE(call.file, app->options().helpFilePath);
        }
        key('m');
        QTest::keyClick(&display(), Qt::Key_F1);
        QVERIFY(!world().fullScreen);
        QCOMPARE(calls.size(), size_t(2));
        QtMessageService boxes(fakes->help);
        test::whenBoxShown([](QMessageBox& box) {
            QTRY_VERIFY(box.isActiveWindow());
            QTest::keyClick(&box, Qt::Key_F1);
            QTimer::singleShot(0, &box, [&box] { box.reject(); });
        });
        boxes.ask({"Reset Simulation?", "Sure?", MessageIcon::Exclamation, DefaultButton::No, help::reset,
                   "/prog/bramblex.hlp"});
        QCOMPARE(calls.size(), size_t(3));
        QCOMPARE(calls[2].command, int(HelpContext));
        QCOMPARE(calls[2].context, help::reset);
    }

    void closingTheDisplayHidesTheSimulation() {
        createAndDraw();
        display().close();
        QVERIFY(!world().simulationShown);
        QCOMPARE(test::itemOf(main(), "hidesim")->text(), QString("Show S&imulation"));
        control<QPushButton>("startsim")->click();
        QCOMPARE(main().windowTitle(), QString("Running."));
        app->tick();
        QCOMPARE(main().windowTitle(), QString("Running 1 of 50."));
    }

    void readOutFollowsTheMouse() {
        createAndDraw();
        SavedWorld saved{world().envGrid, world().orgGrid};
        saved.orgGrid.set(3, 1, {127.5, 126.5, 0});
        saved.envGrid.set(3, 1, {1.5, 2.5, 255});
        app->simulation().loadWorld(std::move(saved));
        QMouseEvent move(QEvent::MouseMove, QPointF(17, 0), QPointF(17, 0), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&display(), &move);
        QCOMPARE(label("csquare"), QString("3,1"));
        QCOMPARE(label("orgred"), QString("128"));
        QCOMPARE(label("orggreen"), QString("126"));
        QCOMPARE(label("envred"), QString("2"));
        QCOMPARE(label("envgreen"), QString("2"));
        QCOMPARE(label("envblue"), QString("255"));
        QMouseEvent far(QEvent::MouseMove, QPointF(5000, -3), QPointF(5000, -3), Qt::NoButton, Qt::NoButton,
                        Qt::NoModifier);
        QCoreApplication::sendEvent(&display(), &far);
        QCOMPARE(label("csquare"), QString("50,1"));
        key('h'); // hidden: the read-out is blank and ignores the mouse
        QCOMPARE(label("csquare"), QString(""));
    }

    void drawingPaintsSquaresWithTheirCornerMarks() {
        createAndDraw();
        const Rgb org = world().orgGrid.at(1, 1), env = world().envGrid.at(1, 1);
        QCOMPARE(display().pixelColour(6, 6), packColour(org));
        QCOMPARE(display().pixelColour(1, 1), packColour(env));
    }
};

QTEST_MAIN(SimulatorTest)
#include "simulator_test.moc"

// The simulator's timer: the ticks due at a tick a millisecond, and what they show at most once a
// frame. A clock of the test's own stands in for the steady clock.
#include <QAction>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <utility>

#include "simulatorstart.h"
#include "support/fakeplatform.h"
#include "ui/displaywindow.h"
#include "ui/mainwindow.h"
#include "ui/simulatorapp.h"

using namespace bx;

class PaceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::FakePlatform> fakes;
    std::unique_ptr<QTemporaryDir> programFolder;
    std::unique_ptr<SimulatorApp> app;
    int64_t now = 0;
    int64_t perCall = 0; // how far the clock moves each time it is read

    const WorldState& world() const { return app->world(); }
    auto& driver() { return test::DriverProbe::of(app->simulation()); }
    QString displayCaption() { return app->displayWindow().windowTitle(); }
    static constexpr int64_t ms = 1000000;

    // Creates and draws the world, starts it, and leaves the ticks to wakeAt.
    void startRunning() {
        for (int i = 0; world().phase != Phase::Idle && i < 10000; ++i)
            app->tick();
        app->mainWindow().findChild<QPushButton*>("startsim")->click();
        test::controlOf<QTimer>(app->mainWindow(), "Timer1")->stop();
    }
    int wakeAt(int64_t at) {
        const int before = driver().stepColumn;
        now = at;
        app->wake();
        return driver().stepColumn - before;
    }

private slots:
    void init() {
        fakes = std::make_unique<test::FakePlatform>();
        programFolder = std::make_unique<QTemporaryDir>();
        app = test::startSimulator(*fakes, programFolder->path(), 5);
        now = perCall = 0;
        app->setClock([this] { return std::exchange(now, now + perCall); });
    }
    void cleanup() {
        app.reset();
        programFolder.reset();
    }

    // At slowdown 0 a tick is a column: a wake runs those due, one when early, eight at most.
    void wakesRunTheColumnsDue() {
        startRunning();
        const std::pair<int64_t, int> wakes[] = {
            {0, 1}, {4 * ms, 4}, {4 * ms + ms / 2, 1}, {8 * ms + ms / 2, 4}, {10000 * ms, 8}};
        for (const auto& [at, columns] : wakes)
            QCOMPARE(wakeAt(at), columns);
        // Stopped for ten seconds and started again: the time at rest is not due.
        app->simulation().startStop();
        app->simulation().startStop();
        QCOMPARE(wakeAt(20000 * ms), 1);
    }

    // Ticks of 5 ms each: the wake ends after the one that used up a frame's time.
    void aSlowWorldLetsEventsRunOnceAFrame() {
        startRunning();
        wakeAt(0);
        perCall = 5 * ms;
        QCOMPARE(wakeAt(100 * ms), 4);
    }

    // The caption follows the columns once a frame; the frame timer shows what waits.
    void captionsChangeOnceAFrame() {
        startRunning();
        wakeAt(0);
        QCOMPARE(displayCaption(), QString("Running 1 of 50."));
        for (const int64_t at : {4 * ms, 8 * ms, 12 * ms, 16 * ms})
            wakeAt(at);
        QCOMPARE(displayCaption(), QString("Running 1 of 50."));
        QVERIFY(app->frameTimer()->isActive());
        wakeAt(17 * ms);
        QCOMPARE(displayCaption(), QString("Running 18 of 50."));
        QVERIFY(!app->frameTimer()->isActive());
    }

    // Stopped between frames: the resting caption stays, the column's caption that waited is dropped.
    void aStopShowsTheRestingCaptionAtOnce() {
        startRunning();
        wakeAt(0);
        wakeAt(4 * ms);
        test::itemOf(app->mainWindow(), "start")->trigger();
        QCOMPARE(displayCaption(), QString("Simulator"));
        wakeAt(40 * ms);
        QCOMPARE(displayCaption(), QString("Simulator"));
        QCOMPARE(driver().stepColumn, 5);
    }
};

QTEST_MAIN(PaceTest)
#include "pace_test.moc"

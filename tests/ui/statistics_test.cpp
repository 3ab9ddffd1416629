// Watching and recording a world in the simulator: the Statistics window and its history, the
// step of one generation, the picture; compared with what bramblex-run gives for the same seed.
#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QDir>
#include <QGraphicsTextItem>
#include <QLineSeries>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QValueAxis>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "cli/app.h"
#include "simulatorstart.h"
#include "support/fakeplatform.h"
#include "ui/displaywindow.h"
#include "ui/mainwindow.h"
#include "ui/profilecommands.h"
#include "ui/simulatorapp.h"
#include "ui/statisticswindow.h"

using namespace bx;

namespace {

// Whether a colour close to `colour` shows inside the chart's plot area.
bool paintedInPlotArea(QChartView* view, QColor colour) {
    const QImage picture = view->grab().toImage();
    const QRect area =
        view->mapFromScene(view->chart()->mapToScene(view->chart()->plotArea())).boundingRect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <
                30)
                return true;
        }
    return false;
}

} // namespace

class StatisticsTest : public QObject, test::SimulatorSession {
    Q_OBJECT

    // What bramblex-run writes for the same seed and generations.
    void runner(std::vector<std::string> args) {
        std::ostringstream out, err;
        QCOMPARE(cli::runCommandLine(args, "/nonexistent", cli::Console{out, err, false}), 0);
    }

private slots:
    void init() { start(21); }
    void cleanup() { stop(); }

    void menuEntriesAndKeys() {
        QCOMPARE(test::itemOf(main(), "savepicture")->text(), QString("Save &Picture…"));
        QCOMPARE(test::itemOf(main(), "savepicture")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QCOMPARE(test::itemOf(main(), "stepgeneration")->text(), QString("Step &Generation"));
        QCOMPARE(test::itemOf(main(), "stepgeneration")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(test::itemOf(main(), "statistics")->text(), QString("S&tatistics"));
        QCOMPARE(test::itemOf(main(), "statistics")->shortcut(), QKeySequence(Qt::Key_F6));
        test::itemOf(main(), "maximize")->trigger(); // full screen: t leaves it and opens nothing
        QTest::keyClick(&app->displayWindow(), 't');
        QVERIFY(!world().fullScreen);
        QVERIFY(!app->statisticsWindow().isVisible());
        QTest::keyClick(&app->displayWindow(), 't');
        QVERIFY(app->statisticsWindow().isVisible());
        QCOMPARE(app->statisticsWindow().windowTitle(), QString("Statistics"));
        QTest::keyClick(&app->displayWindow(), 'n'); // one generation, then rest
        tickUntil([this] { return !app->simulation().stepping(); });
        QCOMPARE(world().generation, 1);
        QCOMPARE(world().phase, Phase::Idle);
        test::itemOf(main(), "stepgeneration")->trigger();
        tickUntil([this] { return !app->simulation().stepping(); });
        QCOMPARE(world().generation, 2);
        app->statisticsWindow().redraw(true);
        auto* organisms = qobject_cast<QLineSeries*>(
            test::controlOf<QChartView>(app->statisticsWindow(), "countschart")->chart()->series().at(0));
        QCOMPARE(organisms->count(), 2); // generations 1 and 2
        QCOMPARE(organisms->at(1).x(), 2.0);
        test::buttonOf(main(), "startsim")
            ->click(); // no single step while running: not by the menu, Ctrl+N or n
        QVERIFY(!test::itemOf(main(), "stepgeneration")->isEnabled());
        QTest::keyClick(&app->displayWindow(), 'n');
        QVERIFY(!app->simulation().stepping());
        test::buttonOf(main(), "startsim")->click();
        QVERIFY(test::itemOf(main(), "stepgeneration")->isEnabled());
    }

    // The charts hold the rows of the CSV, finished generations: none for a created world, then a
    // dot, then a line. The population axis runs to the number of squares in round steps, also
    // when a reset emptied it.
    void chartsHoldTheFinishedGenerationsWithRoundAxes() {
        StatisticsWindow& s = app->statisticsWindow();
        s.open();
        QChart* chart = test::controlOf<QChartView>(s, "countschart")->chart();
        auto* organisms = qobject_cast<QLineSeries*>(chart->series().at(0));
        auto* population = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).at(0));
        const double squares = app->options().gridSizeX * app->options().gridSizeY;
        const auto checkPopulationAxis = [&] {
            QCOMPARE(population->min(), 0.0);
            QCOMPARE(population->max(), squares);
            QVERIFY(population->tickInterval() >= 1 &&
                    population->tickInterval() == int(population->tickInterval()));
        };
        s.redraw(true);
        QCOMPARE(organisms->count(), 0);
        QCOMPARE(app->history().csv(), statsCsvHeader() + '\n');
        checkPopulationAxis();
        test::itemOf(main(), "stepgeneration")->trigger();
        tickUntil([this] { return !app->simulation().stepping(); });
        s.redraw(true);
        QCOMPARE(organisms->count(), 1);
        QCOMPARE(organisms->at(0).x(), 1.0);
        QVERIFY(organisms->at(0).y() > 0);
        QVERIFY(paintedInPlotArea(test::controlOf<QChartView>(s, "countschart"), organisms->color()));
        test::itemOf(main(), "stepgeneration")->trigger();
        tickUntil([this] { return !app->simulation().stepping(); });
        s.redraw(true);
        QCOMPARE(organisms->count(), 2);
        QVERIFY(!organisms->pointsVisible());
        app->simulation().restartCreation(); // a dead world seeded again: from generation 0 again
        tickUntil([this] { return world().phase == Phase::Idle; });
        s.redraw(true);
        QCOMPARE(organisms->count(), 0);
        test::itemOf(main(), "stepgeneration")->trigger();
        tickUntil([this] { return !app->simulation().stepping(); });
        app->options().promptOnReset = false;
        test::buttonOf(main(), "resetsim")->click();
        app->generationEnded(true); // as a dead world's last generation ends: its row went with it
        s.redraw(true);
        QCOMPARE(organisms->count(), 0);
        checkPopulationAxis();
    }

    // At its smallest, on a long history of a large world: every legend entry and axis label that
    // is shown is whole, none cut short with "...".
    void legendsAndLabelsAreWholeAtTheSmallestSize() {
        StatsHistory history;
        for (int64_t g = 999000; g <= 1000000; ++g)
            history.add({g, 9000, 10000, {200, 100, 50}, {20, 40, 60}, false});
        SimulationOptions options;
        options.gridSizeX = options.gridSizeY = 100;
        SaveFolders folders(fakes->settings, "", "");
        StatisticsWindow s(history, options, fakes->files, fakes->messages, folders);
        s.show();
        s.resize(s.minimumSizeHint());
        s.redraw(true);
        QCoreApplication::processEvents();
        for (const char* name : {"countschart", "colourschart"})
            for (QGraphicsItem* item : test::controlOf<QChartView>(s, name)->scene()->items())
                if (const auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible())
                    QVERIFY2(!text->toPlainText().contains("..."), qPrintable(text->toPlainText()));
    }

    // Beside the canvas, wholly on the screen; in front again when minimised.
    void opensBesideTheCanvas() {
        DisplayWindow& canvas = app->displayWindow();
        canvas.move(0, 40);
        test::itemOf(main(), "statistics")->trigger();
        QWidget& s = app->statisticsWindow();
        QVERIFY(s.isVisible());
        QVERIFY2(!s.frameGeometry().intersects(canvas.frameGeometry()), "beside the canvas");
        QVERIFY(canvas.screen()->availableGeometry().contains(s.frameGeometry()));
        s.showMinimized();
        test::itemOf(main(), "statistics")->trigger();
        QVERIFY(!s.isMinimized());
    }

    // The same seed, the same options: the exported history is the runner's --stats, the picture
    // its --png, byte for byte.
    void exportAndPictureAreTheRunnersForTheSameSeed() {
        test::buttonOf(main(), "startsim")->click();
        tickUntil([this] { return world().generation >= 12; });
        test::buttonOf(main(), "startsim")->click();
        fakes->files.saveAnswers = {file("gui.csv").toStdString(), file("gui.png").toStdString()};
        app->statisticsWindow().exportCsv();
        app->savePicture();
        runner({"--seed", "21", "--generations", "12", "--stats", file("run.csv").toStdString(), "--png",
                file("run.png").toStdString(), "--square-size", std::to_string(world().squareSize)});
        QCOMPARE(test::readFileText(file("gui.csv")), test::readFileText(file("run.csv")));
        QVERIFY(test::readFileText(file("gui.png")) == test::readFileText(file("run.png")));
    }

    // Pictures and charts are saved first into Pictures, tables into Documents; then each kind
    // where its last file went, in the next run too, while that folder is there.
    void saveDialogsStartWhereTheLastFileOfTheirKindWent() {
        const std::function<void()> dialogs[] = {[this] { app->savePicture(); },
                                                 [this] { app->statisticsWindow().saveChart(); },
                                                 [this] { app->statisticsWindow().exportCsv(); }};
        const auto starts = [&] { // each dialog's folder, the dialog cancelled
            QStringList folders;
            for (const auto& save : dialogs) {
                fakes->files.saved.clear();
                save();
                folders
                    << QString::fromStdString(fakes->files.saved.at(0).folder).remove(folder->path() + "/");
            }
            return folders.join(' ');
        };
        QCOMPARE(starts(), QString("Pictures Pictures Documents"));
        for (const char* sub : {"shots", "tables", "gone"})
            QVERIFY(QDir(folder->path()).mkdir(sub));
        const struct {
            int dialog;
            const char* file;
            const char* then;
        } saves[] = {{0, "shots/world.png", "shots shots Documents"},
                     {2, "tables/rows.csv", "shots shots tables"},
                     {1, "gone/chart.png", "gone gone tables"}};
        for (const auto& save : saves) {
            fakes->files.saveAnswers = {file(save.file).toStdString()};
            dialogs[save.dialog]();
            QCOMPARE(starts(), QString(save.then));
        }
        app.reset();
        app = test::startSimulator(*fakes, folder->path(), 21); // the next run
        QCOMPARE(starts(), QString("gone gone tables"));
        QVERIFY(QDir(file("gone")).removeRecursively());
        QCOMPARE(starts(), QString("Pictures Pictures tables"));
    }

    void resetClearsTheHistoryAndALoadStartsItAtItsGeneration() {
        test::buttonOf(main(), "startsim")->click();
        tickUntil([this] { return world().generation >= 3; });
        test::buttonOf(main(), "startsim")->click();
        QVERIFY(!app->history().rows().empty());
        fakes->files.saveAnswers = {file("saved.bx2").toStdString()};
        app->profiles().saveProfileAs();
        app->options().promptOnReset = false;
        test::buttonOf(main(), "resetsim")->click();
        QVERIFY(app->history().rows().empty());
        fakes->files.openAnswers = {file("saved.bx2").toStdString()};
        app->profiles().loadProfile();
        tickUntil([this] { return world().phase == Phase::Idle; });
        test::itemOf(main(), "stepgeneration")->trigger();
        tickUntil([this] { return !app->simulation().stepping(); });
        QCOMPARE(app->history().rows().size(), size_t(1));
        QCOMPARE(app->history().rows().front().generation, int64_t(4));
    }

    // Each row counts the squares of the world as its generation ended, once, whatever the panel's
    // counters went through: a profile saved half-way through a generation and loaded, a redraw
    // (r, +, -) or a save (F8) that moved the sweep.
    void everyRowCountsTheWorldAsItsGenerationEnded() {
        const int columns = app->options().gridSizeX, rows = app->options().gridSizeY;
        const auto stepAndCompare = [&](const char* after) {
            test::itemOf(main(), "stepgeneration")->trigger();
            tickUntil([this] { return !app->simulation().stepping(); });
            const GenerationStats last = app->history().rows().back();
            QVERIFY2(last.generation == world().generation, after);
            QVERIFY2(last.organisms == summarizeLayer(world().orgGrid, columns, rows).present, after);
            QVERIFY2(last.environments == summarizeLayer(world().envGrid, columns, rows).present, after);
        };
        test::buttonOf(main(), "startsim")->click();
        tickUntil([&] { return world().generation >= 2 && driver().stepColumn == columns / 2; });
        fakes->files.saveAnswers = {file("halfway.bx2").toStdString()}; // saving stops it half-way
        test::itemOf(main(), "save")->trigger();
        QVERIFY(!world().running && driver().stepColumn == columns / 2);
        test::buttonOf(main(), "startsim")->click();
        tickUntil([this] { return world().generation >= 4; });
        app->options().promptOnReset = false;
        fakes->files.openAnswers = {file("halfway.bx2").toStdString()};
        app->profiles().loadProfile();
        tickUntil([this] { return world().phase == Phase::Idle; });
        stepAndCompare("a load");
        for (const char key : {'r', '+', '-'}) {
            QTest::keyClick(&app->displayWindow(), key);
            tickUntil([this] { return world().phase == Phase::Idle; });
            stepAndCompare(std::string(1, key).c_str());
        }
        fakes->files.saveAnswers = {file("again.bx2").toStdString()};
        test::itemOf(main(), "save")->trigger();
        tickUntil([this] { return world().phase == Phase::Idle; });
        stepAndCompare("a save");
    }
};

QTEST_MAIN(StatisticsTest)
#include "statistics_test.moc"

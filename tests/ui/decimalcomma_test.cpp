// The simulator under a decimal-comma locale (de_DE.UTF-8, made by the tests' set-up with
// localedef and taken from the environment by QApplication, as the simulator takes it): the
// numbers it writes and reads keep their point.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <clocale>
#include <fstream>
#include <locale>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "options/optionfields.h"
#include "simulatorstart.h"
#include "support/fakeplatform.h"
#include "ui/mainwindow.h"
#include "ui/optionswindow.h"
#include "ui/profilecommands.h"
#include "ui/simulatorapp.h"
#include "ui/statisticswindow.h"

using namespace bx;

class DecimalCommaTest : public QObject, test::SimulatorSession {
    Q_OBJECT

    void runGenerations(int32_t generations) {
        test::buttonOf(main(), "startsim")->click();
        tickUntil([this, generations] { return world().generation >= generations; });
        test::buttonOf(main(), "startsim")->click();
    }

private slots:
    void initTestCase() {
        if (std::string(std::localeconv()->decimal_point) != ",")
            QSKIP("no decimal-comma locale to test under: run through ctest, where LC_ALL=de_DE.UTF-8 and "
                  "LOCPATH name one made with localedef (needs the locales package's de_DE source)");
        try {
            std::locale::global(std::locale("")); // the C++ streams as well, should anything set them
        } catch (const std::runtime_error&) {
        }
    }
    void init() { start(21); }
    void cleanup() { stop(); }

    void exportedStatisticsKeepTheirPoints() {
        runGenerations(3);
        fakes->files.saveAnswers = {file("stats.csv").toStdString()};
        app->statisticsWindow().exportCsv();
        const QStringList rows =
            QString::fromStdString(test::readFileText(file("stats.csv"))).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 4);
        const QRegularExpression row(R"(^\d+,\d+,\d+(,\d+\.\d{4}){6},[01]$)");
        for (int i = 1; i < rows.size(); ++i)
            QVERIFY2(row.match(rows[i]).hasMatch(), qPrintable(rows[i]));
    }

    // Typed with the point or the locale's comma, a number is taken as typed (to the nearest whole
    // number, halves to even); a comma no longer makes it "not a number" and the box its stored value.
    void aTypedNumberIsTakenAsTyped_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("value");
        QTest::newRow("point") << "growthratetext"
                               << "2.6" << 3;
        QTest::newRow("comma") << "growthratetext"
                               << "2,6" << 3;
        QTest::newRow("comma in a box of a million") << "mutationtext"
                                                     << "2,5" << 2;
    }
    void aTypedNumberIsTakenAsTyped() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(int, value);
        test::itemOf(main(), "options2")->trigger();
        auto* text = app->optionsWindow().findChild<QLineEdit*>(box);
        QVERIFY(text);
        text->selectAll();
        QTest::keyClicks(text, typed);
        QCOMPARE(text->text(), typed);
        fakes->messages.answers = {Answer::Yes};
        app->optionsWindow().findChild<QPushButton*>("okbutton")->click();
        QCOMPARE(app->options().*
                     findOptionField(box == "mutationtext" ? "mutationFrequency" : "growthRate")->integer,
                 value);
    }

    void aSavedProfileLoadsBackTheSameWorld() {
        runGenerations(2);
        const WorldState saved = world();
        fakes->files.saveAnswers = {file("first.bx2").toStdString(), file("second.bx2").toStdString()};
        app->profiles().saveProfileAs();
        app->options().promptOnReset = false;
        test::buttonOf(main(), "resetsim")->click();
        fakes->files.openAnswers = {file("first.bx2").toStdString()};
        app->profiles().loadProfile();
        for (int c = 1; c <= app->options().gridSizeX; ++c)
            for (int r = 1; r <= app->options().gridSizeY; ++r)
                for (int ch = 0; ch < 3; ++ch) {
                    QCOMPARE(world().envGrid.channel(c, r, ch), saved.envGrid.channel(c, r, ch));
                    QCOMPARE(world().orgGrid.channel(c, r, ch), saved.orgGrid.channel(c, r, ch));
                }
        QCOMPARE(world().generation, saved.generation);
        app->profiles().saveProfileAs();
        QVERIFY(test::readFileText(file("first.bx2")) == test::readFileText(file("second.bx2")));
    }
};

QTEST_MAIN(DecimalCommaTest)
#include "decimalcomma_test.moc"

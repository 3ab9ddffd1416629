// Generations per second of a 100 x 100 world at slowdown -5 (a whole generation per tick),
// with the real display window painting every square offscreen, against the same run hidden,
// and with the Statistics window open as well.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>

#include "support/fakeplatform.h"
#include "ui/displaywindow.h"
#include "ui/mainwindow.h"
#include "ui/simulatorapp.h"

namespace {

void runGenerations(benchmark::State& state, bool shown, bool statistics = false) {
    bx::test::FakePlatform fakes;
    fakes.screen = bx::FixedScreen(1600, 1200);
    const QTemporaryDir programFolder; // resets make its Profiles folder
    bx::SimulatorApp app(bx::Platform{fakes.messages, fakes.help, fakes.screen, fakes.cursor, fakes.browser,
                                      fakes.files, fakes.colours, fakes.folders, fakes.programs,
                                      fakes.settings, programFolder.path().toStdString(),
                                      programFolder.path().toStdString()},
                         std::make_unique<bx::RandomGenerator>(2));
    app.startUp();
    app.mainWindow().tickTimer->stop();
    app.options().gridSizeX = app.options().gridSizeY = 100;
    app.options().environmentStartMode = bx::StartFull;
    app.options().fullOrganisms = true;
    app.simulation().reset();
    app.mainWindow().slowdownSlider->setValue(-5);
    while (app.world().phase != bx::PhaseIdle)
        app.tick();
    if (!shown)
        app.world().simulationShown = false;
    if (statistics)
        app.showStatistics(); // its charts redrawn from the history twice a second
    app.simulation().startStop();
    app.mainWindow().tickTimer->stop(); // the loop below is the only source of ticks
    double tickTime = 0, eventTime = 0;
    for (auto _ : state) {
        const auto a = std::chrono::steady_clock::now();
        app.tick(); // one generation, painted and flushed when shown
        const auto b = std::chrono::steady_clock::now();
        QCoreApplication::processEvents(); // the window shows what changed
        const auto c = std::chrono::steady_clock::now();
        tickTime += std::chrono::duration<double>(b - a).count();
        eventTime += std::chrono::duration<double>(c - b).count();
    }
    state.counters["tick_ms"] = tickTime * 1000 / double(state.iterations());
    state.counters["events_ms"] = eventTime * 1000 / double(state.iterations());
    state.counters["generations_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void shownGenerations(benchmark::State& state) {
    runGenerations(state, true);
}
void hiddenGenerations(benchmark::State& state) {
    runGenerations(state, false);
}
void shownGenerationsWithStatistics(benchmark::State& state) {
    runGenerations(state, true, true);
}
BENCHMARK(shownGenerations)->Unit(benchmark::kMillisecond);
BENCHMARK(shownGenerationsWithStatistics)->Unit(benchmark::kMillisecond);
BENCHMARK(hiddenGenerations)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

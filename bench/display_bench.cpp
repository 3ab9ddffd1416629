// The simulator's display as the program runs it, offscreen:
// - generations per CPU second of a 100 x 100 world at slowdown -5 (a whole generation per
//   tick), woken as fast as it goes, with the real display window painting every square,
//   against the same run hidden, and with the Statistics window open as well; the Over benches
//   run the two worlds of a comparison in turns in one process and give their ratio;
// - CPU time per generation of the default world (50 x 50, slowdown 0) at its pace on the real
//   timer (no X server here: its share is measured by bench/simulator_cpu.sh).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <ctime>
#include <memory>

#include "platform/pixelcanvas.h"
#include "support/fakeplatform.h"
#include "ui/displaywindow.h"
#include "ui/mainwindow.h"
#include "ui/simulatorapp.h"
#include "ui/statisticswindow.h"

namespace {

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The simulator with fake services, its first world created and drawn.
struct Simulator {
    bx::test::FakePlatform fakes;
    QTemporaryDir programFolder; // resets make its Profiles folder
    std::unique_ptr<bx::SimulatorApp> app;

    explicit Simulator(int gridSize = 0) {
        fakes.screen = bx::FixedScreen(1600, 1200);
        app = std::make_unique<bx::SimulatorApp>(
            bx::Platform{fakes.messages, fakes.help, fakes.screen, fakes.cursor, fakes.browser, fakes.files,
                         fakes.colours, fakes.folders, fakes.commands, fakes.programs, fakes.settings,
                         programFolder.path().toStdString(), programFolder.path().toStdString(),
                         programFolder.path().toStdString(), programFolder.path().toStdString()},
            std::make_unique<bx::RandomGenerator>(2));
        app->startUp();
        app->mainWindow().findChild<QTimer*>("Timer1")->stop();
        if (gridSize > 0) {
            app->options().gridSizeX = app->options().gridSizeY = gridSize;
            app->options().environmentStartMode = bx::StartFull;
            app->options().fullOrganisms = true;
            app->simulation().reset();
            app->mainWindow().findChild<QTimer*>("Timer1")->stop();
        }
        while (app->world().phase != bx::Phase::Idle)
            app->tick();
    }
};

// How a world of the generation benches is shown.
struct View {
    bool shown, statistics;
};

// A 100 x 100 world at slowdown -5 (a whole generation a tick) started, its timer stopped for a
// loop to wake it as the timer would, its windows laid out and painted once before the timing.
void startFast(Simulator& s, View view) {
    bx::SimulatorApp& app = *s.app;
    app.mainWindow().findChild<QSlider*>("slowdownslider")->setValue(-5);
    if (!view.shown)
        app.simulation().setShown(false);
    if (view.statistics)
        app.showStatistics(); // its charts redrawn from the history twice a second
    app.simulation().startStop();
    app.mainWindow().findChild<QTimer*>("Timer1")->stop();
    QCoreApplication::processEvents();
}

void runGenerations(benchmark::State& state, bool shown, bool statistics = false) {
    Simulator s(100);
    bx::SimulatorApp& app = *s.app;
    startFast(s, {shown, statistics});
    const int32_t first = app.world().generation;
    double wakeTime = 0, eventTime = 0;
    for (auto _ : state) {
        const auto a = std::chrono::steady_clock::now();
        app.wake(); // the generations due, painted, shown once a frame
        const auto b = std::chrono::steady_clock::now();
        QCoreApplication::processEvents(); // the windows show what changed
        const auto c = std::chrono::steady_clock::now();
        wakeTime += std::chrono::duration<double>(b - a).count();
        eventTime += std::chrono::duration<double>(c - b).count();
    }
    const double generations = app.world().generation - first;
    state.counters["wake_ms_per_generation"] = wakeTime * 1000 / generations;
    state.counters["events_ms_per_generation"] = eventTime * 1000 / generations;
    state.counters["generations_per_second"] = benchmark::Counter(generations, benchmark::Counter::kIsRate);
}

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The main thread's CPU seconds for `slice` of waking the world as its timer would, and the
// frame it still had due shown; adds them and the generations run to the totals.
void runSlice(bx::SimulatorApp& app, std::chrono::milliseconds slice, double& cpu, double& generations) {
    const int32_t first = app.world().generation;
    const double cpuBefore = threadCpuSeconds();
    const auto end = std::chrono::steady_clock::now() + slice;
    while (std::chrono::steady_clock::now() < end) {
        app.wake();
        QCoreApplication::processEvents();
    }
    auto* frameTimer = app.findChild<QTimer*>("frametimer");
    while (frameTimer->isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    cpu += threadCpuSeconds() - cpuBefore;
    generations += app.world().generation - first;
}

// Two views of one world in one process, taking turns every 100 ms so that the machine's drift
// in speed falls on both alike: the first's generations per CPU second over the second's.
void compareViews(benchmark::State& state, View first, View second) {
    Simulator a(100), b(100);
    startFast(a, first);
    startFast(b, second);
    double cpu[2] = {}, generations[2] = {};
    for (auto _ : state) {
        runSlice(*a.app, std::chrono::milliseconds(100), cpu[0], generations[0]);
        runSlice(*b.app, std::chrono::milliseconds(100), cpu[1], generations[1]);
    }
    state.counters["ratio"] = (generations[0] / cpu[0]) / (generations[1] / cpu[1]);
    state.counters["generations_per_cpu_second"] = generations[1] / cpu[1];
}
void shownOverHidden(benchmark::State& state) {
    compareViews(state, {true, false}, {false, false});
}
void statisticsOverClosed(benchmark::State& state) {
    compareViews(state, {true, true}, {true, false});
}
BENCHMARK(shownOverHidden)->Unit(benchmark::kMillisecond)->Iterations(40)->UseRealTime();
BENCHMARK(statisticsOverClosed)->Unit(benchmark::kMillisecond)->Iterations(40)->UseRealTime();

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

// The default world started as a user starts it, its timer running for a second an iteration.
void defaultPace(benchmark::State& state) {
    Simulator s;
    bx::SimulatorApp& app = *s.app;
    app.simulation().startStop();
    double cpu = 0, generations = 0;
    for (auto _ : state) {
        const int32_t before = app.world().generation;
        const double cpuBefore = processCpuSeconds();
        QEventLoop loop;
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec();
        cpu += processCpuSeconds() - cpuBefore;
        generations += app.world().generation - before;
    }
    state.counters["cpu_ms_per_generation"] = cpu * 1000 / generations;
    state.counters["cpu_share"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
    state.counters["generations_per_second"] =
        benchmark::Counter(generations, benchmark::Counter::kAvgIterations);
}
BENCHMARK(defaultPace)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// One redraw of the Statistics window's charts from a long history, shown.
void statisticsRedraw(benchmark::State& state) {
    Simulator s(100);
    bx::SimulatorApp& app = *s.app;
    startFast(s, {false, false});
    for (int i = 0; i < 3000; ++i)
        app.tick();
    app.showStatistics();
    app.statisticsWindow().findChild<QTimer*>("redrawtimer")->stop();
    for (auto _ : state) {
        app.tick(); // a new generation for the charts
        app.statisticsWindow().redraw();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(statisticsRedraw)->Unit(benchmark::kMillisecond);

// One frame of a 100 x 100 world at square size 8 painted into the display's pixels, column by
// column, every square a new colour.
void frameFill(benchmark::State& state) {
    bx::PixelCanvas canvas;
    canvas.resize(800, 800);
    std::vector<bx::SquareColours> squares(100);
    uint32_t colour = 0;
    for (auto _ : state) {
        for (auto& s : squares)
            s = {colour += 0x010203, colour ^ 0x00FFFF};
        for (int column = 1; column <= 100; ++column)
            canvas.fillColumn(column, 1, squares.data(), 100, 8, true, true);
        benchmark::DoNotOptimize(canvas.takeDirty());
    }
}
BENCHMARK(frameFill)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

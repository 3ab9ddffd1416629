#pragma once
// The simulator as the window tests start it: fake platform services, the program and its data
// in a folder of the test's, a seeded generator; started up with its tick timer stopped, so that
// the test drives the ticks.
#include <QAction>
#include <QPushButton>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <array>
#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "engine/random.h"
#include "support/driverprobe.h"
#include "support/fakeplatform.h"
#include "ui/mainwindow.h"
#include "ui/simulatorapp.h"

namespace bx::test {

// A window's control (widget, menu entry or timer) by its objectName; a missing one ends the run.
template <class T = QWidget> T* controlOf(const QObject& window, const char* name) {
    T* c = window.findChild<T*>(name);
    if (!c)
        qFatal("no control %s", name);
    return c;
}
inline QPushButton* buttonOf(const QObject& window, const char* name) {
    return controlOf<QPushButton>(window, name);
}
inline QAction* itemOf(const QObject& window, const char* name) {
    return controlOf<QAction>(window, name);
}
// The quick profile entries profile2 … profile8 of a Profiles menu.
inline std::array<QAction*, 7> quickItemsOf(const QObject& window) {
    std::array<QAction*, 7> items{};
    for (int k = 0; k < 7; ++k)
        items[k] = itemOf(window, ("profile" + std::to_string(k + 2)).c_str());
    return items;
}

inline std::unique_ptr<SimulatorApp> startSimulator(FakePlatform& fakes, const QString& folder,
                                                    uint64_t seed) {
    const std::string path = folder.toStdString();
    auto app = std::make_unique<SimulatorApp>(
        Platform{fakes.messages, fakes.help, fakes.screen, fakes.cursor, fakes.browser, fakes.files,
                 fakes.colours, fakes.folders, fakes.commands, fakes.programs, fakes.settings, path, path,
                 path + "/Pictures", path + "/Documents"},
        std::make_unique<RandomGenerator>(seed));
    app->startUp();
    controlOf<QTimer>(app->mainWindow(), "Timer1")->stop();
    return app;
}

// A started simulator, idle after creating its seeded world, with its fakes and a folder of its
// own; tests keep one from init() to cleanup().
struct SimulatorSession {
    std::unique_ptr<FakePlatform> fakes;
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<SimulatorApp> app;

    void start(uint64_t seed) {
        fakes = std::make_unique<FakePlatform>();
        folder = std::make_unique<QTemporaryDir>();
        app = startSimulator(*fakes, folder->path(), seed);
        tickUntil([this] { return world().phase == Phase::Idle; });
    }
    void stop() {
        app.reset();
        folder.reset();
    }
    MainWindow& main() { return app->mainWindow(); }
    const WorldState& world() const { return app->world(); }
    auto& driver() { return test::DriverProbe::of(app->simulation()); }
    QString file(const char* name) { return folder->path() + "/" + name; }
    void tickUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 200000 && !done(); ++i)
            app->tick();
    }
};

// A file's bytes, as written.
inline std::string readFileText(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace bx::test

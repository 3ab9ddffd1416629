// Bramblex 2.scr: the screensaver.
#include <QApplication>
#include <QScreen>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "platform/folders.h"
#include "platform/helpviewer.h"
#include "platform/inisettingsstore.h"
#include "platform/qtbrowser.h"
#include "platform/qtcursor.h"
#include "platform/qtmessages.h"
#include "saverapp.h"
#include "saverinstall/desktophosts.h"
#include "stopsignals.h"

namespace {

// Runs the saver in `command`'s mode until it ends. Returns the exit status; `stopSignal` is the
// signal that ended it, 0 when none did.
int runSaver(int argc, char** argv, const bx::SaverCommand& command, int& stopSignal) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Bramblex 2 Screen Saver");
    QApplication::setQuitOnLastWindowClosed(false); // the saver ends through endSaver

    // A write into a pipe whose reader has quit fails as a write; it never ends the saver.
    std::signal(SIGPIPE, SIG_IGN);

    bx::OverrideCursorCounter cursor;
    bx::DesktopBrowser browser;
    bx::ViewerHelpService help;
    bx::QtMessageService messages(help);
    bx::IniSettingsStore settings;
    bx::X11HostWindows hosts;
    bx::RandomGenerator rng;
    QScreen* screen = QGuiApplication::primaryScreen();
    bx::SaverApp saver(bx::SaverPlatform{messages, help, cursor, browser, settings, hosts, rng,
                                         bx::programFolder(),
                                         screen ? screen->virtualGeometry() : QRect(0, 0, 640, 480)});
    // exit, not quit: quit first asks every window to close, and an embedded window whose host is
    // gone may not answer.
    QObject::connect(
        &saver, &bx::SaverApp::finished, &app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    // SIGTERM from a host screensaver, Ctrl+C in a terminal, a hang-up: the saver ends as it would
    // on the user's key, with the pointer back and its windows gone.
    bx::StopSignals stopSignals;
    QObject::connect(&stopSignals, &bx::StopSignals::received, &saver, &bx::SaverApp::endSaver);
    const int status = saver.start(command) && !saver.hasEnded() ? QApplication::exec() : 0;
    stopSignal = stopSignals.caught();
    return status;
}

// --activate and --deactivate: the hosts set as the simulator's Activate sets them, one line a
// host. Status 1 when a host could not be set, or (activating) when there is none.
int setHosts(bool activate) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    bx::ProcessRunner commands;
    bx::DesktopHosts hosts(bx::hostFoldersOfEnvironment(), commands,
                           (self.parent_path() / bx::screensaverProgramName).string());
    const std::vector<bx::HostReport> reports = activate ? hosts.activate() : hosts.deactivate();
    if (reports.empty()) {
        if (activate)
            std::cerr << "bramblex2-screensaver: " << bx::hostPackagesAdvice << "\n";
        else
            std::cout << "Nothing to put back: Bramblex 2 was not activated (" << hosts.statePath()
                      << " does not exist).\n";
        return activate ? 1 : 0;
    }
    bool done = true;
    for (const bx::HostReport& r : reports) {
        (r.done ? std::cout : std::cerr) << r.host << ": " << r.said << "\n";
        done = done && r.done;
    }
    return done ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const char* hostVariable = std::getenv("XSCREENSAVER_WINDOW");
    const bx::SaverCommand command = bx::parseSaverCommand(
        arguments, hostVariable ? std::optional<std::string>(hostVariable) : std::nullopt);
    if (command.launch == bx::SaverLaunch::Help) {
        std::cout << bx::saverUsage();
        return 0;
    }
    if (command.launch == bx::SaverLaunch::Activate || command.launch == bx::SaverLaunch::Deactivate)
        return setHosts(command.launch == bx::SaverLaunch::Activate);
    int stopSignal = 0;
    const int status = runSaver(argc, argv, command, stopSignal);
    // Everything is put back and the windows are gone: the host sees the saver die by its signal.
    if (stopSignal != 0)
        bx::dieBy(stopSignal);
    return status;
}

// Bramblex 2.scr: the screensaver.
#include <QApplication>
#include <QScreen>
#include <cstdlib>

#include "platform/folders.h"
#include "platform/helpviewer.h"
#include "platform/inisettingsstore.h"
#include "platform/qtbrowser.h"
#include "platform/qtcursor.h"
#include "platform/qtmessages.h"
#include "saverapp.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Bramblex 2 Screen Saver");
    QApplication::setQuitOnLastWindowClosed(false); // the saver ends through endSaver

    std::vector<std::string> arguments(argv + 1, argv + argc);
    const char* hostVariable = std::getenv("XSCREENSAVER_WINDOW");
    const bx::SaverCommand command = bx::parseSaverCommand(
        arguments, hostVariable ? std::optional<std::string>(hostVariable) : std::nullopt);

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
                                         screen ? screen->geometry() : QRect(0, 0, 640, 480)});
    // exit, not quit: quit first asks every window to close, and an embedded window whose host is
    // gone may not answer.
    QObject::connect(
        &saver, &bx::SaverApp::finished, &app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    if (!saver.start(command) || saver.hasEnded())
        return 0;
    return QApplication::exec();
}

// Bramblex 2: the simulator.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "engine/options.h"

#include "mainwindow.h"
#include "platform/displaycheck.h"
#include "platform/folders.h"
#include "platform/helpviewer.h"
#include "platform/inisettingsstore.h"
#include "platform/programstarter.h"
#include "platform/qtbrowser.h"
#include "platform/qtcolourpicker.h"
#include "platform/qtcursor.h"
#include "platform/qtfiledialogs.h"
#include "platform/qtmessages.h"
#include "platform/qtscreen.h"
#include "saverinstall/commandrunner.h"
#include "saverinstall/desktophosts.h"
#include "simulatorapp.h"

namespace {

const char* const usage = R"(Usage: bramblex2 [--help | --version] [Qt options]
Bramblex 2, an artificial-life simulator: a control panel, a canvas and an options window.
  --help       print this help and exit
  --version    print the version and exit
Qt's own options are taken, such as -platform NAME and -display DISPLAY (see bramblex2(1)).
)";

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    for (const std::string& a : arguments) {
        if (a == "--help" || a == "-h") {
            std::cout << usage;
            return 0;
        }
        if (a == "--version") {
            std::cout << "bramblex2 "
                      << bx::versionStringOf(bx::simulatorMajorVersion, bx::simulatorMinorVersion) << '\n';
            return 0;
        }
    }
    // Qt would abort (status 134, several lines) on a display it cannot open.
    if (const auto problem = bx::displayProblem(arguments)) {
        std::cerr << "bramblex2: cannot open the display: " << *problem << '\n';
        return 1;
    }
    // A save into a pipe whose reader has quit fails with a message naming the file; it must not
    // end the program and lose the world.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Bramblex 2"); // also the windows' WM_CLASS: the desktop entry names it
    QApplication::setDesktopFileName("bramblex2");
    QIcon icon;
    for (const QString& picture : QDir(":/windowicon").entryList())
        icon.addFile(":/windowicon/" + picture);
    QApplication::setWindowIcon(icon);
    QApplication::setQuitOnLastWindowClosed(false); // the program ends with the main window's unload
    bx::QtScreen screen;
    bx::OverrideCursorCounter cursor;
    bx::DesktopBrowser browser;
    bx::ViewerHelpService help;
    bx::QtMessageService messages(help);
    bx::QtFileDialogs files;
    bx::QtColourPicker colours;
    bx::ProcessRunner commands;
    bx::DetachedProgramStarter programs;
    bx::IniSettingsStore settings;
    const std::string folder = bx::programFolder();
    // An installed copy the user cannot write keeps its profiles in the user's data folder.
    bx::SimulatorApp simulator(bx::Platform{messages, help, screen, cursor, browser, files, colours,
                                            bx::hostFoldersOfEnvironment(), commands, programs, settings,
                                            folder, bx::profileHome(folder, bx::userDataFolder()),
                                            bx::picturesFolder(), bx::documentsFolder()});
    files.setHomeWindow(&simulator.mainWindow());
    QObject::connect(&simulator, &bx::SimulatorApp::ended, &app, &QApplication::quit);
    simulator.startUp();
    return QApplication::exec();
}

// Bramblex 2: the simulator.
#include <QApplication>
#include <csignal>

#include "mainwindow.h"
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
#include "platform/xdgsystemfolders.h"
#include "simulatorapp.h"

int main(int argc, char** argv) {
    // A save into a pipe whose reader has quit fails with a message naming the file; it must not
    // end the program and lose the world.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Bramblex 2");
    QApplication::setQuitOnLastWindowClosed(false); // the program ends with the main window's unload
    bx::QtScreen screen;
    bx::OverrideCursorCounter cursor;
    bx::DesktopBrowser browser;
    bx::ViewerHelpService help;
    bx::QtMessageService messages(help);
    bx::QtFileDialogs files;
    bx::QtColourPicker colours;
    bx::XdgSystemFolders folders;
    bx::DetachedProgramStarter programs;
    bx::IniSettingsStore settings;
    const std::string folder = bx::programFolder();
    // An installed copy the user cannot write keeps its profiles in the user's data folder.
    bx::SimulatorApp simulator(bx::Platform{
        messages, help, screen, cursor, browser, files, colours, folders, programs, settings, folder,
        bx::profileHome(folder, bx::userDataFolder()), bx::picturesFolder(), bx::documentsFolder()});
    files.setHomeWindow(&simulator.mainWindow());
    QObject::connect(&simulator, &bx::SimulatorApp::ended, &app, &QApplication::quit);
    simulator.startUp();
    return QApplication::exec();
}

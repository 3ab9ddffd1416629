// Bramblex 2: the simulator.
#include <QApplication>

#include "platform/folders.h"
#include "platform/helpviewer.h"
#include "platform/qtbrowser.h"
#include "platform/qtcolourpicker.h"
#include "platform/qtcursor.h"
#include "platform/qtfiledialogs.h"
#include "platform/qtmessages.h"
#include "platform/qtscreen.h"
#include "simulatorapp.h"

int main(int argc, char** argv) {
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
    bx::SimulatorApp simulator(
        bx::Platform{messages, help, screen, cursor, browser, files, colours, bx::programFolder()});
    QObject::connect(&simulator, &bx::SimulatorApp::ended, &app, &QApplication::quit);
    simulator.startUp();
    return QApplication::exec();
}

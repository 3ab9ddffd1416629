#pragma once
// The about box: the program's title, version and credits, and a link to the publisher's page.
#include <QDialog>
#include <string>

#include "engine/options.h"
#include "platform/aboutparts.h"
#include "platform/browser.h"
#include "platform/help.h"
#include "platform/messages.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace bx {

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(const SimulationOptions& options, MessageService& messages, HelpService& help,
                WebBrowser& browser, QWidget* parent = nullptr);

    // Loads the window afresh from the options and shows it modally.
    void showAbout();
    // The window's load: identity strings into the captions, information filled.
    void load();
    // Opens the publisher's page in the desktop's browser, telling the user when it cannot.
    void openWebPage();

    QLabel* titleLabel;
    QLabel* versionLabel;
    QListWidget* information;
    QPushButton* doneButton;
    QLabel* webLink;

private:
    const SimulationOptions& options_;
    MessageService& messages_;
    HelpService& help_;
    WebBrowser& browser_;
};

} // namespace bx

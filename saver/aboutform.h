#pragma once
// aboutform: the saver's about window, with a link to the publisher's web page.
#include <QDialog>
#include <string>

#include "platform/aboutparts.h"
#include "platform/browser.h"
#include "platform/help.h"
#include "platform/messages.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace bx {

class AboutForm : public QDialog {
    Q_OBJECT
public:
    AboutForm(MessageService& messages, HelpService& help, WebBrowser& browser, std::string helpFile,
              QWidget* parent = nullptr);

    // The version text, in versionLabel and the about text.
    void setVersionText(const QString& versionText);
    // Opens the publisher's page, telling the user when it cannot.
    void openWebPage();

    QLabel* versionLabel;
    QLabel* titleLabel;
    QLabel* webLink;
    QPlainTextEdit* information;
    QPushButton* doneButton;

private:
    MessageService& messages_;
    HelpService& help_;
    WebBrowser& browser_;
    std::string helpFile_;
};

// The about text for a version: lines joined by CR LF.
QString aboutText(const QString& versionText);

} // namespace bx

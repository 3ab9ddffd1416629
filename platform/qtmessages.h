#pragma once
// Message boxes over QMessageBox. Object names for tests and tools: the box "messagebox", its
// buttons "yesbutton", "nobutton", "okbutton" and "helpbutton".
#include <QString>

#include "platform/help.h"
#include "platform/messages.h"

class QMessageBox;

namespace bx {

class QtMessageService : public MessageService {
public:
    explicit QtMessageService(HelpService& help) : help_(help) {}
    Answer ask(const Question& question) override;
    void inform(const Notice& notice) override;

private:
    void addHelp(QMessageBox& box, const std::string& helpFile, int context, bool button);
    HelpService& help_;
};

// The box's text: every CR LF, lone CR or LF becomes one line break.
QString messageText(const std::string& text);

} // namespace bx

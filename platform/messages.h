#pragma once
// Every message box of the programs goes through MessageService, so tests can answer them.
#include <string>

#include "engine/question.h"

namespace bx {

// An OK-only message box.
struct Notice {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::None;
    int helpContext = 0; // 0: none
    std::string helpFile;
    // A Help button for the context; without one the context is still shown on F1.
    bool helpButton = true;
};

class MessageService {
public:
    virtual ~MessageService() = default;
    // A Yes/No question; the box comes to the foreground and its Help button (when helpContext
    // is set) opens the help viewer at that context without closing the box.
    virtual Answer ask(const Question& question) = 0;
    virtual void inform(const Notice& notice) = 0;
};

} // namespace bx

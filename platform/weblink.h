#pragma once
// The about boxes' link: opens a page in the desktop's browser and tells the user, in an OK-only
// box with the given title, when there is no browser or it cannot be started.
#include <string>

#include "platform/browser.h"
#include "platform/messages.h"

namespace bx {

void openWebPage(WebBrowser& browser, MessageService& messages, const std::string& url,
                 const std::string& title);

} // namespace bx

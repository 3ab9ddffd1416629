#include "weblink.h"

namespace bx {

void openWebPage(WebBrowser& browser, MessageService& messages, const std::string& url,
                 const std::string& title) {
    const auto tell = [&](const char* text) {
        Notice notice; // OK only, no icon, no help
        notice.title = title;
        notice.text = text;
        messages.inform(notice);
    };
    switch (browser.open(url)) {
    case BrowserResult::Opened:
        break;
    case BrowserResult::NoBrowser:
        tell("Error: No web browser found.");
        break;
    case BrowserResult::CouldNotOpen:
        tell("Error: Could not open web page.");
        break;
    }
}

} // namespace bx

#pragma once
// The help commands of the programs (show a context, the contents, the keyword search) on a
// help file of our own format; see help/README.md for the format.
#include <string>

namespace bx {

class SettingsStore;

enum HelpCommand : int { HelpContext = 1, HelpContents = 3, HelpSearch = 261 };

class HelpService {
public:
    virtual ~HelpService() = default;
    // context is used by HelpContext only.
    virtual void showHelp(const std::string& helpFile, int command, int context = 0) = 0;
    // The help windows come back where the user left them, kept in `store`; until then they open
    // beside the window they help. With null the places of the open windows are kept now and the
    // store is let go.
    virtual void keepPlaces(SettingsStore* store) { (void)store; }
};

} // namespace bx

#pragma once
// Per-user folders in the roles of the host's Windows and system directories.
#include <string>

#include "saverinstall/systemfolders.h"

namespace bx {

// "<data>/bramblex/windows" and "<data>/bramblex/windows/system" under the user's data folder
// (XDG_DATA_HOME, else ~/.local/share), made when first asked for. A Windows directory made here
// starts with a "system.ini" holding an empty boot section, as a host system's would; one the
// user removed later is not made again.
class XdgSystemFolders : public SystemFolders {
public:
    XdgSystemFolders();                                // the user's data folder
    explicit XdgSystemFolders(std::string dataFolder); // another folder (tests)
    std::string windowsDirectory() override;
    std::string systemDirectory() override;

private:
    void makeFolders();
    std::string root_; // <data>/bramblex
};

} // namespace bx

#pragma once
// The host's Windows directory (it holds the system INI file, "system.ini") and system directory
// (installed screensavers). Linux has neither: the simulator passes per-user folders that play
// those roles (platform/xdgsystemfolders.h); tests pass folders of their own.
#include <string>

namespace bx {

class SystemFolders {
public:
    virtual ~SystemFolders() = default;
    // Paths without a trailing separator.
    virtual std::string windowsDirectory() = 0;
    virtual std::string systemDirectory() = 0;
};

} // namespace bx

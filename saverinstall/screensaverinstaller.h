#pragma once
// Installing the screensaver into the system directory, making it the active one in the system
// INI file of the Windows directory, and the checks behind the Screensaver page's status. Works
// on real files; the two directories come from the platform's SystemFolders. No Qt.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "saverinstall/systemfolders.h"

namespace bx {

// The files Install copies from the program's folder, in this order.
inline constexpr std::array<std::string_view, 3> screensaverFiles = {"Bramblex 2.scr", "bramblexss.hlp",
                                                                     "bramblexss.cnt"};
inline constexpr std::string_view screensaverProgramName = "Bramblex 2.scr";
inline constexpr std::string_view systemIniName = "system.ini";

// Whether a listing of "*.scr" files holds the installed screensaver: a name that contains
// "Bramblex 2.scr" exactly as written (so "My Bramblex 2.scr" counts, "bramblex 2.scr" does not).
bool listingHasScreensaver(const std::vector<std::string>& scrFiles);

// The regular files of a folder whose names end in ".scr" (in any case), in no particular order;
// empty when the folder cannot be read.
std::vector<std::string> screensaverFilesIn(const std::string& folder);

enum class ActivationResult { Activated, NoIniFile, NotWritten };

class ScreensaverInstaller {
public:
    ScreensaverInstaller(SystemFolders& folders, std::string programFolder);

    // The system directory holds the screensaver.
    bool isInstalled() const;
    // The system INI file names the screensaver in some line.
    bool isActive() const;
    // Copies every file of screensaverFiles that the program's folder holds into the system
    // directory, replacing files of those names. False when one was missing or failed to copy;
    // the others are copied all the same.
    bool install();
    // Names the screensaver in the system INI file. A missing file is not created; a failed
    // write leaves the file as it was.
    ActivationResult activate();

    std::string iniPath() const;
    std::string programFolder() const { return programFolder_; }

private:
    SystemFolders& folders_;
    std::string programFolder_;
};

} // namespace bx

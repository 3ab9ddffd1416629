#pragma once
// The edit of the system INI file that makes the screensaver the active one, as a pure function
// of the file's text, and the test of whether a file already names it. No files, no Qt.
#include <string>
#include <string_view>
#include <vector>

namespace bx {

// The screensaver's short name as the boot section names it.
inline constexpr std::string_view screensaverShortName = "BRAMBL~1.SCR";

// The boot-section line that names the screensaver installed in systemDirectory. The separator is
// a backslash whatever the platform: the line is the one the host's own tools expect.
std::string screensaverEntry(std::string_view systemDirectory);

// The lines of a text file: a line ends at CR LF, a lone CR or a lone LF; an end of line before
// the end of the text does not start one more (empty) line.
std::vector<std::string> iniLines(std::string_view text);

enum class IniChange {
    ReplacedEntry,   // every line mentioning scrnsave.exe became the entry
    InsertedEntry,   // no such line: every "[boot]" line became "[boot]" and the entry
    AddedBootSection // neither: a "[boot]" section with the entry was added at the end
};

struct IniActivation {
    std::string text; // every line ends with CR LF, and one more CR LF ends the text
    IniChange change;
};

// The text of the INI file after activation. Names are compared without regard to case.
IniActivation activateInIni(std::string_view text, std::string_view entry);

// Whether some line mentions both "scrnsave.exe" and the short name (without regard to case).
bool iniNamesScreensaver(std::string_view text);

} // namespace bx

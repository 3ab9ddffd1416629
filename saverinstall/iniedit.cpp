#include "iniedit.h"

#include <algorithm>

#include "text/strings.h"

namespace bx {
namespace {

// needle is lower case.
bool containsNoCase(std::string_view haystack, std::string_view needle) {
    const auto hit = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                                 [](char h, char n) { return asciiLower(h) == n; });
    return hit != haystack.end() || needle.empty();
}

constexpr std::string_view crlf = "\r\n";

} // namespace

std::string screensaverEntry(std::string_view systemDirectory) {
    std::string entry = "SCRNSAVE.EXE=";
    entry += systemDirectory;
    entry += '\\';
    entry += screensaverShortName;
    return entry;
}

std::vector<std::string> iniLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

IniActivation activateInIni(std::string_view text, std::string_view entry) {
    const std::vector<std::string> lines = iniLines(text);
    const bool hasEntry = std::any_of(lines.begin(), lines.end(),
                                      [](const std::string& l) { return containsNoCase(l, "scrnsave.exe"); });
    const bool hasBoot = std::any_of(lines.begin(), lines.end(),
                                     [](const std::string& l) { return containsNoCase(l, "[boot]"); });
    IniActivation result{{},
                         hasEntry  ? IniChange::ReplacedEntry
                         : hasBoot ? IniChange::InsertedEntry
                                   : IniChange::AddedBootSection};
    std::string& out = result.text;
    auto put = [&out](std::string_view line) {
        out += line;
        out += crlf;
    };
    for (const std::string& line : lines) {
        if (hasEntry && containsNoCase(line, "scrnsave.exe")) {
            put(entry);
        } else if (!hasEntry && containsNoCase(line, "[boot]")) {
            put("[boot]");
            put(entry);
        } else {
            put(line);
        }
    }
    // A file without a boot section gets one: the screensaver is then truly named in it.
    if (result.change == IniChange::AddedBootSection) {
        put("[boot]");
        put(entry);
    }
    out += crlf;
    return result;
}

bool iniNamesScreensaver(std::string_view text) {
    const std::string shortName = asciiLower(screensaverShortName);
    for (const std::string& line : iniLines(text))
        if (containsNoCase(line, "scrnsave.exe") && containsNoCase(line, shortName))
            return true;
    return false;
}

} // namespace bx

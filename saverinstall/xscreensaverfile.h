#pragma once
// Edits of xscreensaver's per-user settings file (~/.xscreensaver) as pure functions of its text.
// The file holds "name: value" resources; a line ending in a backslash goes on on the next line.
// The "programs:" resource lists the screen hacks, each ended by a literal "\n"; a leading "-"
// disables one. "selected:" counts the list from 0, disabled entries included. No files, no Qt.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bx {

// The per-user file xscreensaver would start from: the plain "*name:" resources of its
// app-defaults file (its programs among them), without the leading "*", the comments and the
// per-hack or per-widget resources.
std::string xscreensaverFileFromDefaults(std::string_view appDefaults);

// The value of a one-line resource, trimmed; nothing when the file does not set it.
std::optional<std::string> xscreensaverValue(std::string_view text, std::string_view name);
// The text with the resource set to value: its value replaced (continuation lines and all; the
// name and the blanks after it stay), else a line added at the end.
std::string withXscreensaverValue(std::string_view text, std::string_view name, std::string_view value);
// The text without the resource (so xscreensaver takes its default).
std::string withoutXscreensaverValue(std::string_view text, std::string_view name);

// The entries of "programs:", trimmed, in order, disabled ones with their "-".
std::vector<std::string> xscreensaverPrograms(std::string_view text);
// Whether an entry starts Bramblex 2 (the packaged name or a copy's "Bramblex 2.scr").
bool isBramblexProgram(std::string_view entry);

// The entry for a command line: "Bramblex 2" as its label, enabled.
std::string bramblexProgramEntry(std::string_view command);
// The text with exactly one Bramblex 2 entry, `entry`: an existing one (also a disabled one) is
// replaced in its place, else the entry is added at the end of the list, so the indexes of the
// other entries stay. A file without "programs:" gets it with that one entry.
std::string withBramblexProgram(std::string_view text, std::string_view entry);
// The text without the lines that hold a Bramblex 2 entry (the rest of the list unchanged).
std::string withoutBramblexProgram(std::string_view text);
// The index of the enabled Bramblex 2 entry as "selected:" counts it.
std::optional<std::size_t> bramblexProgramIndex(std::string_view text);

} // namespace bx

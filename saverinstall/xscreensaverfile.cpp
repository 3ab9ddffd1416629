#include "xscreensaverfile.h"

#include <algorithm>

#include "text/strings.h"

namespace bx {
namespace {

constexpr std::string_view blanks = " \t";

std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + '\n';
    return text;
}

std::string_view rightTrimmed(std::string_view line) {
    const std::size_t end = line.find_last_not_of(blanks);
    return end == std::string_view::npos ? std::string_view() : line.substr(0, end + 1);
}

bool continues(std::string_view line) {
    const std::string_view t = rightTrimmed(line);
    return !t.empty() && t.back() == '\\';
}

bool isNameChar(char c) {
    return isAsciiDigit(c) || (asciiLower(c) >= 'a' && asciiLower(c) <= 'z') || c == '_' || c == '-';
}

// The resource name a line starts (after a leading "*" when star is allowed), "" for none.
std::string_view resourceName(std::string_view line, bool star) {
    if (star) {
        if (line.empty() || line[0] != '*')
            return {};
        line.remove_prefix(1);
    }
    std::size_t n = 0;
    while (n < line.size() && isNameChar(line[n]))
        ++n;
    const std::size_t colon = line.find_first_not_of(blanks, n);
    if (n == 0 || colon == std::string_view::npos || line[colon] != ':')
        return {};
    return line.substr(0, n);
}

struct Block {
    std::size_t first, end; // the resource's lines: [first, end)
};

std::optional<Block> findResource(const std::vector<std::string>& lines, std::string_view name) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (resourceName(lines[i], false) != name)
            continue;
        std::size_t end = i + 1;
        while (end - 1 < lines.size() && continues(lines[end - 1]) && end < lines.size())
            ++end;
        return Block{i, end};
    }
    return std::nullopt;
}

// A line of "programs:" (the first after its name) that holds a Bramblex 2 entry.
bool holdsBramblex(const std::vector<std::string>& lines, const Block& b, std::size_t i) {
    std::string_view line = lines[i];
    if (i == b.first)
        line.remove_prefix(line.find(':') + 1);
    return isBramblexProgram(line);
}

// The block's last line no longer continues.
void endBlock(std::vector<std::string>& lines, std::size_t last) {
    std::string_view t = rightTrimmed(lines[last]);
    if (!t.empty() && t.back() == '\\')
        t.remove_suffix(1);
    lines[last] = std::string(rightTrimmed(t));
}

std::string entryLine(std::string_view entry) {
    return "  " + std::string(entry) + "  \\n";
}

} // namespace

std::string xscreensaverFileFromDefaults(std::string_view appDefaults) {
    std::vector<std::string> out = {"# XScreenSaver Preferences File",
                                    "# Made by Bramblex 2 from xscreensaver's own defaults.", ""};
    const std::vector<std::string> lines = linesOf(appDefaults);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool keep = !resourceName(lines[i], true).empty();
        std::size_t end = i;
        while (end + 1 < lines.size() && continues(lines[end]))
            ++end;
        if (keep) {
            out.push_back(lines[i].substr(1));
            out.insert(out.end(), lines.begin() + static_cast<std::ptrdiff_t>(i + 1),
                       lines.begin() + static_cast<std::ptrdiff_t>(end + 1));
        }
        i = end;
    }
    return joined(out);
}

std::optional<std::string> xscreensaverValue(std::string_view text, std::string_view name) {
    const std::vector<std::string> lines = linesOf(text);
    const std::optional<Block> b = findResource(lines, name);
    if (!b)
        return std::nullopt;
    const std::string& line = lines[b->first];
    return std::string(trimmed(std::string_view(line).substr(line.find(':') + 1)));
}

std::string withXscreensaverValue(std::string_view text, std::string_view name, std::string_view value) {
    std::vector<std::string> lines = linesOf(text);
    if (const std::optional<Block> b = findResource(lines, name)) {
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(b->first + 1),
                    lines.begin() + static_cast<std::ptrdiff_t>(b->end));
        std::string& line = lines[b->first];
        // The name and the blanks after its colon stay as they were.
        line = line.substr(0, line.find_first_not_of(blanks, line.find(':') + 1)) + std::string(value);
    } else {
        lines.push_back(std::string(name) + ":\t\t" + std::string(value));
    }
    return joined(lines);
}

std::string withoutXscreensaverValue(std::string_view text, std::string_view name) {
    std::vector<std::string> lines = linesOf(text);
    if (const std::optional<Block> b = findResource(lines, name))
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(b->first),
                    lines.begin() + static_cast<std::ptrdiff_t>(b->end));
    return joined(lines);
}

std::vector<std::string> xscreensaverPrograms(std::string_view text) {
    const std::vector<std::string> lines = linesOf(text);
    const std::optional<Block> b = findResource(lines, "programs");
    std::vector<std::string> entries;
    if (!b)
        return entries;
    std::string value;
    for (std::size_t i = b->first; i < b->end; ++i) {
        std::string_view line = lines[i];
        if (i == b->first)
            line.remove_prefix(line.find(':') + 1);
        if (continues(line))
            line = rightTrimmed(line).substr(0, rightTrimmed(line).size() - 1);
        value += line;
    }
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t end = std::min(value.find("\\n", start), value.size());
        const std::string_view entry = trimmed(std::string_view(value).substr(start, end - start));
        if (!entry.empty())
            entries.emplace_back(entry);
        start = end + 2;
    }
    return entries;
}

bool isBramblexProgram(std::string_view entry) {
    return entry.find("bramblex2-screensaver") != std::string_view::npos ||
           entry.find("Bramblex 2.scr") != std::string_view::npos;
}

std::string bramblexProgramEntry(std::string_view command) {
    return "\"Bramblex 2\"  " + std::string(command);
}

std::string withBramblexProgram(std::string_view text, std::string_view entry) {
    std::vector<std::string> lines = linesOf(text);
    const std::optional<Block> b = findResource(lines, "programs");
    if (!b) {
        lines.push_back("programs:\t\\");
        lines.push_back(entryLine(entry));
        return joined(lines);
    }
    std::vector<std::size_t> held; // the lines holding a Bramblex 2 entry
    for (std::size_t i = b->first + 1; i < b->end; ++i)
        if (holdsBramblex(lines, *b, i))
            held.push_back(i);
    const std::size_t last = b->end - 1;
    if (!held.empty()) {
        // One entry only, in the place of the first.
        const bool lastErased = held.size() > 1 && held.back() == last;
        for (std::size_t k = held.size(); k-- > 1;)
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(held[k]));
        lines[held[0]] = entryLine(entry) + (continues(lines[held[0]]) ? "\\" : "");
        if (lastErased)
            endBlock(lines, last - (held.size() - 1));
        return joined(lines);
    }
    std::string tail(rightTrimmed(lines[last]));
    if (!continues(tail)) {
        const bool empty = last == b->first && trimmed(tail.substr(tail.find(':') + 1)).empty();
        if (!empty && !(tail.size() >= 2 && tail.compare(tail.size() - 2, 2, "\\n") == 0))
            tail += "\\n";
        tail += empty ? "\t\\" : "\\";
    }
    lines[last] = tail;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last + 1), entryLine(entry));
    return joined(lines);
}

std::string withoutBramblexProgram(std::string_view text) {
    std::vector<std::string> lines = linesOf(text);
    const std::optional<Block> b = findResource(lines, "programs");
    if (!b)
        return std::string(text);
    std::size_t end = b->end;
    for (std::size_t i = b->end; i-- > b->first + 1;)
        if (holdsBramblex(lines, *b, i)) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            --end;
        }
    if (end < b->end && continues(lines[end - 1]))
        endBlock(lines, end - 1);
    return joined(lines);
}

std::optional<std::size_t> bramblexProgramIndex(std::string_view text) {
    const std::vector<std::string> entries = xscreensaverPrograms(text);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i][0] != '-' && isBramblexProgram(entries[i]))
            return i;
    return std::nullopt;
}

} // namespace bx

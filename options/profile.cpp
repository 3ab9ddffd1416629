#include "profile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <new>
#include <random>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "atomicfile.h"
#include "optionfields.h"
#include "profilenumber.h"

namespace bx {
namespace {

constexpr std::string_view dashes = "-----------------------------------------";
constexpr std::string_view lineEnd = "\r\n";

// Lines 1..6 and 8 are written like this; the reader skips them whatever they hold.
constexpr std::array<std::string_view, 6> headerLines = {
    "\"Bramblex 2 Configuration File\"", "\"\"", "\"Be careful if editing, unexpected results\"",
    "\"or crashes may occur.\"",         "\"\"", "\"-----------------------------------------\"",
};

enum class ItemKind { Whole, Flag, Ignored };

// One item of the option lines 9..23: what it is called in messages, its encoding, its range
// and where it lives.
struct Field {
    std::string name;
    ItemKind kind = ItemKind::Ignored;
    int64_t lowest = 0;
    int64_t highest = 0;
    int* whole = nullptr;
    bool* flag = nullptr;
};
using FieldLine = std::vector<Field>;

Field whole(std::string name, int& value, int64_t lowest, int64_t highest) {
    return {std::move(name), ItemKind::Whole, lowest, highest, &value, nullptr};
}
Field flag(std::string name, bool& value) {
    return {std::move(name), ItemKind::Flag, 0, 0, nullptr, &value};
}

// The option lines 9..23 of the file hold the options where the option table places them, the
// counters of the world, and one item that is always empty.
constexpr int firstStoredLine = 9;
constexpr int storedLineCount = 15;
constexpr int counterLine = 21;
constexpr int emptyItemLine = 16;

constexpr std::array<std::string_view, 3> componentNames = {"red", "green", "blue"};
constexpr std::array<int UserColour::*, 3> components = {&UserColour::red, &UserColour::green,
                                                         &UserColour::blue};

void place(std::vector<FieldLine>& lines, int line, int item, Field field) {
    FieldLine& items = lines[static_cast<std::size_t>(line - firstStoredLine)];
    if (items.size() < static_cast<std::size_t>(item))
        items.resize(static_cast<std::size_t>(item));
    items[static_cast<std::size_t>(item - 1)] = std::move(field);
}

void placeOption(std::vector<FieldLine>& lines, SimulationOptions& o, const OptionField& f) {
    const std::string name(f.name);
    const int item = f.place.item;
    switch (f.kind) {
    case OptionKind::Integer:
        place(lines, f.place.lines[0], item, whole(name, o.*f.integer, f.minimum, f.largestStored()));
        break;
    case OptionKind::Flag:
        place(lines, f.place.lines[0], item, flag(name, o.*f.flag));
        break;
    case OptionKind::Colour:
        for (std::size_t c = 0; c < components.size(); ++c) {
            UserColour& colour = (o.*f.colours)[static_cast<std::size_t>(f.colourIndex)];
            place(lines, f.place.lines[c], item,
                  whole(name + " " + std::string(componentNames[c]), colour.*components[c], f.minimum,
                        f.maximum));
        }
        break;
    }
}

// Lines 9..23 in file order. The writer and the reader both walk this one list, so the order,
// the encodings and the ranges cannot drift apart.
std::vector<FieldLine> storedLines(SimulationOptions& o, int32_t& organismCount, int32_t& environmentCount,
                                   int32_t& generation) {
    constexpr int64_t int32Max = std::numeric_limits<int32_t>::max();
    std::vector<FieldLine> lines(storedLineCount);
    for (const OptionField& f : optionFields())
        if (f.place.stored())
            placeOption(lines, o, f);
    place(lines, emptyItemLine, 1, Field{"an empty item", ItemKind::Ignored});
    place(lines, counterLine, 1, whole("organismCount", organismCount, 0, int32Max));
    place(lines, counterLine, 2, whole("environmentCount", environmentCount, 0, int32Max));
    place(lines, counterLine, 3, whole("generation", generation, 0, int32Max));
    return lines;
}

// ---------------------------------------------------------------- reading

// Walks the lines of an input read in pieces; a line ends at LF, and a CR before the LF is
// dropped. Only the line at hand is held, so a file of any length takes little memory.
class LineReader {
public:
    // read fills a buffer and returns how many bytes it gave: 0 at the end, -1 on an error
    // (whose reason then goes to readError()).
    using Read = std::function<ssize_t(char*, std::size_t)>;
    static constexpr std::size_t longestLine = 65536; // far beyond any line a profile holds

    explicit LineReader(Read read) : read_(std::move(read)), buffer_(65536) {}

    bool next(std::string_view& line) {
        line_.clear();
        lineEnded_ = false;
        bool started = false;
        for (;;) {
            if (pos_ == end_ && !refill())
                break;
            started = true;
            const char* from = buffer_.data() + pos_;
            const auto* lf = static_cast<const char*>(std::memchr(from, '\n', end_ - pos_));
            const std::size_t take = lf ? static_cast<std::size_t>(lf - from) : end_ - pos_;
            if (line_.size() + take > longestLine) {
                line_.append(from, std::min(take, longestLine));
                noteLineEnds();
                tooLong_ = true;
                return false;
            }
            line_.append(from, take);
            pos_ += take;
            if (lf) {
                ++pos_;
                lineEnded_ = true;
                break;
            }
        }
        if (!started)
            return false;
        noteLineEnds();
        if (!line_.empty() && line_.back() == '\r')
            line_.pop_back();
        ++lineNumber_;
        line = line_;
        return true;
    }

    // Number of the line next() returned last.
    int64_t lineNumber() const { return lineNumber_; }
    // Whether that line ended in a line break (the last line of a file cut short does not).
    bool lineEnded() const { return lineEnded_; }
    // Why next() stopped early: a line longer than longestLine, a reading error.
    bool tooLong() const { return tooLong_; }
    const std::string& readError() const { return readError_; }
    bool crOnlyLineEnds() const { return crOnly_; }

private:
    // A CR inside the first line: the file's lines end in CR alone.
    void noteLineEnds() {
        const std::size_t cr = line_.find('\r');
        if (lineNumber_ == 0 && cr != std::string::npos && cr + 1 < line_.size())
            crOnly_ = true;
    }

    bool refill() {
        if (ended_)
            return false;
        const ssize_t n = read_(buffer_.data(), buffer_.size());
        if (n <= 0) {
            ended_ = true;
            if (n < 0)
                readError_ = std::generic_category().message(errno);
            return false;
        }
        pos_ = 0;
        end_ = static_cast<std::size_t>(n);
        return true;
    }

    Read read_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0, end_ = 0;
    bool ended_ = false, tooLong_ = false, crOnly_ = false, lineEnded_ = false;
    std::string line_;
    std::string readError_;
    int64_t lineNumber_ = 0;
};

// Splits a line at its commas; a double-quoted item may hold commas. False on an unclosed quote.
bool splitItems(std::string_view line, std::vector<std::string_view>& items) {
    items.clear();
    std::size_t start = 0;
    for (;;) {
        std::size_t from = start;
        while (from < line.size() && (line[from] == ' ' || line[from] == '\t'))
            ++from;
        if (from < line.size() && line[from] == '"') {
            const std::size_t close = line.find('"', from + 1);
            if (close == std::string_view::npos)
                return false;
            from = close + 1;
        }
        const std::size_t comma = line.find(',', from);
        if (comma == std::string_view::npos) {
            items.push_back(line.substr(start));
            return true;
        }
        items.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

// A string item: the text between its double quotes, or an unquoted item as it stands.
std::optional<std::string_view> stringItem(std::string_view item) {
    const std::string_view t = trimmed(item);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') {
        const std::string_view inner = t.substr(1, t.size() - 2);
        if (inner.find('"') == std::string_view::npos)
            return inner;
        return std::nullopt;
    }
    if (t.find('"') != std::string_view::npos)
        return std::nullopt;
    return t;
}

std::optional<bool> flagItem(std::string_view item) {
    const std::string_view t = trimmed(item);
    if (equalsIgnoringCase(t, "#TRUE#"))
        return true;
    if (equalsIgnoringCase(t, "#FALSE#"))
        return false;
    return std::nullopt;
}

// A whole number within [lowest, highest]; the range check comes before any narrowing.
std::optional<int> wholeItem(std::string_view item, int64_t lowest, int64_t highest) {
    const std::optional<double> v = parseProfileNumber(item);
    if (!v || *v != std::floor(*v) || *v < static_cast<double>(lowest) || *v > static_cast<double>(highest))
        return std::nullopt;
    return static_cast<int>(*v);
}

// How an offending item is shown in a message: trimmed, shortened, control characters masked.
std::string shown(std::string_view item) {
    constexpr std::size_t longest = 40;
    const std::string_view t = trimmed(item);
    if (t.empty())
        return "an empty item";
    return "\"" + printableText(t, longest) + "\"";
}

std::string describe(const Field& f) {
    switch (f.kind) {
    case ItemKind::Whole:
        return f.name + ", a whole number from " + std::to_string(f.lowest) + " to " +
               std::to_string(f.highest);
    case ItemKind::Flag:
        return f.name + ", #TRUE# or #FALSE#";
    case ItemKind::Ignored:
        break;
    }
    return f.name;
}

std::string describeLine(const FieldLine& line) {
    std::string names;
    for (const Field& f : line)
        names += (names.empty() ? "" : ", ") + f.name;
    return std::to_string(line.size()) + (line.size() == 1 ? " item (" : " items (") + names + ")";
}

constexpr std::array<std::string_view, 6> gridItemNames = {
    "environment red", "environment green", "environment blue",
    "organism red",    "organism green",    "organism blue",
};

class ProfileParser {
public:
    ProfileParser(LineReader& lines, const std::string& name) : lines_(lines), name_(name) {}

    std::optional<Profile> parse(std::string& error) {
        Profile p;
        if (!skipLines(6, "the file's heading") || !readVersion(p.version) ||
            !skipLines(1, "an empty line") || !readStoredLines(p) ||
            !skipLines(3, "the line before the squares") || !readGrids(p) || !readClosingLines()) {
            error = std::move(error_);
            return std::nullopt;
        }
        return p;
    }

private:
    bool fail(int64_t line, const std::string& expected, const std::string& found) {
        error_ = name_ + ", line " + std::to_string(line) + ": expected " + expected + "; found " + found;
        return false;
    }
    bool nextLine(std::string_view& line, const std::string& expected) {
        if (lines_.next(line))
            return true;
        return fail(lines_.lineNumber() + 1, expected,
                    lines_.tooLong()
                        ? "a line of more than " + std::to_string(LineReader::longestLine) + " characters"
                        : "the end of the file");
    }

    bool skipLines(int count, const std::string& expected) {
        std::string_view line;
        for (int i = 0; i < count; ++i)
            if (!nextLine(line, expected))
                return false;
        return true;
    }

    bool readVersion(std::string& version) {
        const std::string expected = "the version in double quotes";
        std::string_view line;
        if (!nextLine(line, expected))
            return false;
        if (!splitItems(line, items_) || items_.size() != 1)
            return fail(lines_.lineNumber(), expected, shown(line));
        const std::optional<std::string_view> v = stringItem(items_[0]);
        if (!v)
            return fail(lines_.lineNumber(), expected, shown(line));
        version = *v;
        return true;
    }

    bool readStoredLines(Profile& p) {
        std::vector<FieldLine> stored =
            storedLines(p.options, p.organismCount, p.environmentCount, p.generation);
        for (const FieldLine& fields : stored) {
            std::string_view line;
            if (!nextLine(line, describeLine(fields)))
                return false;
            const int64_t number = lines_.lineNumber();
            const bool split = splitItems(line, items_);
            if (!split || items_.size() != fields.size())
                return fail(number, describeLine(fields),
                            split ? std::to_string(items_.size()) + (items_.size() == 1 ? " item" : " items")
                                  : shown(line));
            for (std::size_t i = 0; i < fields.size(); ++i)
                if (!readField(fields[i], items_[i], number))
                    return false;
        }
        return true;
    }

    bool readField(const Field& f, std::string_view item, int64_t lineNumber) {
        switch (f.kind) {
        case ItemKind::Whole:
            if (const std::optional<int> v = wholeItem(item, f.lowest, f.highest)) {
                *f.whole = *v;
                return true;
            }
            break;
        case ItemKind::Flag:
            if (const std::optional<bool> v = flagItem(item)) {
                *f.flag = *v;
                return true;
            }
            break;
        case ItemKind::Ignored:
            return true;
        }
        return fail(lineNumber, describe(f), shown(item));
    }

    // The three lines after the squares end every profile: a file without them, or without the
    // last one's line break, was cut short, and its last square may have been cut with it.
    bool readClosingLines() {
        std::string_view line;
        for (const std::string_view closing : {headerLines[4], headerLines[5], headerLines[4]}) {
            const std::string expected = "the closing line " + std::string(closing);
            if (!nextLine(line, expected))
                return false;
            if (trimmed(line) != closing)
                return fail(lines_.lineNumber(), expected, shown(line));
        }
        if (!lines_.lineEnded())
            return fail(lines_.lineNumber(), "a line break after the closing line \"\"",
                        "the end of the file");
        return true;
    }

    bool readGrids(Profile& p) {
        const int sizeX = p.options.gridSizeX;
        const int sizeY = p.options.gridSizeY;
        // Every square is read and checked, but only those the simulation can use are kept: a
        // world larger than that costs no memory for the rest.
        p.envGrid = Grid(std::min(sizeX, largestGridSize), std::min(sizeY, largestGridSize));
        p.orgGrid = Grid(std::min(sizeX, largestGridSize), std::min(sizeY, largestGridSize));
        for (int x = 1; x <= sizeX; ++x)
            for (int y = 1; y <= sizeY; ++y)
                if (!readSquare(p, x, y))
                    return false;
        return true;
    }

    bool readSquare(Profile& p, int x, int y) {
        const auto square = [x, y] { return "square (" + std::to_string(x) + "," + std::to_string(y) + ")"; };
        std::string_view line;
        if (!nextLine(line, "the line of " + square() + " of a " + std::to_string(p.options.gridSizeX) +
                                " x " + std::to_string(p.options.gridSizeY) + " grid"))
            return false;
        std::array<std::string_view, 6> items;
        std::size_t count = 0;
        std::size_t start = 0;
        for (;;) {
            const std::size_t comma = line.find(',', start);
            const std::string_view item = line.substr(start, comma - start);
            if (count < items.size())
                items[count] = item;
            ++count;
            if (comma == std::string_view::npos)
                break;
            start = comma + 1;
        }
        if (count != items.size())
            return fail(lines_.lineNumber(),
                        "6 items for " + square() +
                            " (environment red, green, blue, organism red, green, blue)",
                        std::to_string(count) + (count == 1 ? " item" : " items"));
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (trimmed(items[i]).empty())
                continue; // never set: stays empty
            const std::optional<double> v = parseProfileNumber(items[i]);
            if (!v || !(*v >= 0 && *v <= 255))
                return fail(lines_.lineNumber(),
                            square() + " " + std::string(gridItemNames[i]) +
                                ", a number from 0 to 255 or an empty item",
                            shown(items[i]));
            Grid& grid = i < 3 ? p.envGrid : p.orgGrid;
            if (!grid.contains(x, y))
                continue; // checked, not kept
            // "-0" is kept as 0: the rules take nothing off or add nothing to a component by
            // subtracting or adding zero, which leaves every value but negative zero as it was.
            grid.setChannel(x, y, static_cast<int>(i % 3), *v + 0.0);
        }
        return true;
    }

    LineReader& lines_;
    const std::string& name_;
    std::string error_;
    std::vector<std::string_view> items_;
};

// What stands at a path that is not a file, in a message.
std::string notAFile(mode_t mode) {
    if (S_ISDIR(mode))
        return "it is a folder";
    if (S_ISFIFO(mode))
        return "it is a named pipe, not a file";
    if (S_ISSOCK(mode))
        return "it is a socket, not a file";
    return "it is a device, not a file";
}

// Opens a regular file for reading; anything else is refused without being opened, so that a
// named pipe or a device never makes the reader wait or read without end. -1 with why on failure.
int openRegularFile(const std::string& path, std::string& why) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        why = std::generic_category().message(errno);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        why = notAFile(st.st_mode);
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) { // replaced since the look above
        why = fd < 0 ? std::generic_category().message(errno) : notAFile(st.st_mode);
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    return fd;
}

// Parses what lines gives; a message for a file whose lines end in CR alone says so.
std::optional<Profile> parseLines(LineReader& lines, const std::string& name, std::string& error) {
    std::optional<Profile> profile;
    try {
        profile = ProfileParser(lines, name).parse(error);
    } catch (const std::bad_alloc&) {
        error = name + ": not enough memory to read this profile";
    }
    if (!profile && !lines.readError().empty())
        error = "Cannot read the profile \"" + name + "\": " + lines.readError();
    else if (!profile && lines.crOnlyLineEnds())
        error += " (the file's lines end in a carriage return alone; save it with LF or CR LF line ends)";
    return profile;
}

// ---------------------------------------------------------------- writing

void appendLine(std::string& out, std::string_view text) {
    out += text;
    out += lineEnd;
}

void appendQuoted(std::string& out, std::string_view text) {
    out += '"';
    out += text;
    out += '"';
    out += lineEnd;
}

void appendCell(std::string& out, const Grid& grid, int x, int y, int channel) {
    if (grid.contains(x, y) && grid.written(x, y, channel))
        appendProfileNumber(out, grid.channel(x, y, channel));
}

// Builds the profile text; on a value no reader could take back, names its square instead.
std::string buildProfileText(const SimulationOptions& options, const WorldState& world,
                             std::string* problem) {
    std::string out;
    const int sizeX = std::max(options.gridSizeX, 0);
    const int sizeY = std::max(options.gridSizeY, 0);
    out.reserve(2048 + static_cast<std::size_t>(sizeX) * static_cast<std::size_t>(sizeY) * 112);
    for (std::string_view line : headerLines)
        appendLine(out, line);
    appendQuoted(out, options.versionString);
    appendQuoted(out, "");

    SimulationOptions o = options;
    int32_t counts[3] = {world.organismCount, world.environmentCount, world.generation};
    for (const FieldLine& fields : storedLines(o, counts[0], counts[1], counts[2])) {
        bool first = true;
        for (const Field& f : fields) {
            if (!first)
                out += ',';
            first = false;
            if (f.kind == ItemKind::Whole)
                out += std::to_string(*f.whole);
            else if (f.kind == ItemKind::Flag)
                out += *f.flag ? "#TRUE#" : "#FALSE#";
        }
        out += lineEnd;
    }
    appendQuoted(out, "");
    appendQuoted(out, dashes);
    appendQuoted(out, "");

    for (int x = 1; x <= sizeX; ++x) {
        for (int y = 1; y <= sizeY; ++y) {
            for (const Grid* grid : {&world.envGrid, &world.orgGrid}) {
                for (int ch = 0; ch < 3; ++ch) {
                    if (problem && grid->contains(x, y) && !std::isfinite(grid->channel(x, y, ch)) &&
                        problem->empty())
                        *problem = "square (" + std::to_string(x) + "," + std::to_string(y) +
                                   ") holds a value that is not a number";
                    appendCell(out, *grid, x, y, ch);
                    if (grid != &world.orgGrid || ch != 2)
                        out += ',';
                }
            }
            out += lineEnd;
        }
    }
    appendQuoted(out, "");
    appendQuoted(out, dashes);
    appendQuoted(out, "");
    return out;
}

std::string cannotWrite(const std::string& path, const std::string& reason) {
    return "Cannot write the profile \"" + path + "\": " + reason;
}

Question versionQuestion(const std::string& savedVersion, const std::string& helpFile) {
    return Question{
        "Reset Simulation?",
        "This profile was saved with a different\rversion of Bramblex: " + printableText(savedVersion) +
            "\rLoading may cause unexpected results.\rDo you wish to load the file?",
        MessageIcon::Exclamation,
        DefaultButton::Yes,
        help::profileVersion,
        helpFile};
}

} // namespace

std::optional<Profile> parseProfileText(const std::string& text, const std::string& nameForMessages,
                                        std::string& error) {
    std::size_t given = 0;
    LineReader lines([&text, &given](char* out, std::size_t capacity) {
        const std::size_t n = std::min(capacity, text.size() - given);
        std::memcpy(out, text.data() + given, n);
        given += n;
        return static_cast<ssize_t>(n);
    });
    return parseLines(lines, nameForMessages, error);
}

std::optional<Profile> parseProfile(const std::string& path, std::string& error) {
    std::string why;
    const int fd = openRegularFile(path, why);
    if (fd < 0) {
        error = "Cannot read the profile \"" + path + "\": " + why;
        return std::nullopt;
    }
    LineReader lines([fd](char* out, std::size_t capacity) {
        ssize_t n = 0;
        while ((n = ::read(fd, out, capacity)) < 0 && errno == EINTR) {
        }
        return n;
    });
    std::optional<Profile> profile = parseLines(lines, path, error);
    ::close(fd);
    return profile;
}

std::string profileText(const SimulationOptions& options, const WorldState& world) {
    return buildProfileText(options, world, nullptr);
}

std::string writableProfileText(const SimulationOptions& options, const WorldState& world,
                                std::string& problem) {
    problem.clear();
    std::string text = buildProfileText(options, world, &problem);
    return problem.empty() ? text : std::string();
}

std::string writeProfile(const std::string& path, const SimulationOptions& options, const WorldState& world) {
    std::string problem;
    const std::string text = writableProfileText(options, world, problem);
    if (!problem.empty())
        return cannotWrite(path, problem);
    if (const std::string reason = replaceFileText(path, text); !reason.empty())
        return cannotWrite(path, reason);
    return {};
}

SimulationOptions optionsOfProfile(const Profile& profile, const SimulationOptions& current) {
    SimulationOptions merged = current; // the identity strings and what a profile does not store
    for (const OptionField& f : optionFields()) {
        if (!f.place.stored())
            continue;
        copyOption(merged, profile.options, f);
        // The grids hold the first 100 columns and rows of the file: all that is ever used.
        if (f.place.largest > f.maximum)
            merged.*f.integer = std::min(merged.*f.integer, f.maximum);
    }
    return merged;
}

ProfileLoad readProfile(const std::string& path, Simulation& sim, std::string& error,
                        std::string* savedVersion) {
    error.clear();
    std::optional<Profile> profile = parseProfile(path, error);
    if (!profile)
        return ProfileLoad::Failed;
    if (savedVersion)
        *savedVersion = profile->version;

    SimulationOptions& options = sim.options();
    if (profile->version != options.versionString &&
        sim.host().ask(versionQuestion(profile->version, options.helpFilePath)) != Answer::Yes)
        return ProfileLoad::Declined;

    // Everything below only moves and assigns: the load cannot stop half-way.
    options = optionsOfProfile(*profile, options);

    sim.loadWorld({std::move(profile->envGrid), std::move(profile->orgGrid), profile->organismCount,
                   profile->environmentCount, profile->generation});
    return ProfileLoad::Loaded;
}

} // namespace bx

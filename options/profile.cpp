#include "profile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "optionfields.h"
#include "profilelayout.h"
#include "profilenumber.h"
#include "text/strings.h"

namespace bx {
namespace {

constexpr std::string_view lineEnd = "\r\n";

enum class ItemKind { Whole, Flag, Ignored };

// One item of an option line: what it is called in messages, its encoding, its range and where
// it lives.
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

constexpr std::array<std::string_view, 3> componentNames = {"red", "green", "blue"};
constexpr std::array<int UserColour::*, 3> components = {&UserColour::red, &UserColour::green,
                                                         &UserColour::blue};

// The items of every row of profileLayout, by row (empty for a row that is no option line).
using FieldLines = std::array<FieldLine, profileLayout.size()>;

void place(FieldLines& lines, int line, int item, Field field) {
    const auto row = static_cast<std::size_t>(line - 1);
    if (row >= profileSquaresRow() || profileLayout[row].kind != ProfileLineKind::Options || item < 1)
        throw std::logic_error(field.name + " is placed outside the option lines of a profile");
    FieldLine& items = lines[row];
    if (items.size() < static_cast<std::size_t>(item))
        items.resize(static_cast<std::size_t>(item));
    items[static_cast<std::size_t>(item - 1)] = std::move(field);
}

void placeOption(FieldLines& lines, SimulationOptions& o, const OptionField& f) {
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

// The items of the option lines: the options where the option table places them, and the rows'
// own items. The writer and the reader both walk these, so the order, the encodings and the
// ranges cannot drift apart.
FieldLines storedLines(SimulationOptions& o, int32_t& organismCount, int32_t& environmentCount,
                       int32_t& generation) {
    constexpr int64_t int32Max = std::numeric_limits<int32_t>::max();
    FieldLines lines;
    for (const OptionField& f : optionFields())
        if (f.place.stored())
            placeOption(lines, o, f);
    for (std::size_t row = 0; row < profileLayout.size(); ++row) {
        const int line = profileLineOfRow(row);
        for (std::size_t i = 0; i < profileLayout[row].items.size(); ++i) {
            const int item = static_cast<int>(i) + 1;
            switch (profileLayout[row].items[i]) {
            case ProfileItem::None:
                break;
            case ProfileItem::Empty:
                place(lines, line, item, Field{"an empty item", ItemKind::Ignored});
                break;
            case ProfileItem::OrganismCount:
                place(lines, line, item, whole("organismCount", organismCount, 0, int32Max));
                break;
            case ProfileItem::EnvironmentCount:
                place(lines, line, item, whole("environmentCount", environmentCount, 0, int32Max));
                break;
            case ProfileItem::Generation:
                place(lines, line, item, whole("generation", generation, 0, int32Max));
                break;
            }
        }
    }
    return lines;
}

// ---------------------------------------------------------------- reading

// Walks the lines of a text given in pieces; a line ends at LF, and a CR before the LF is
// dropped. Only the line at hand is held, so a text of any length takes little memory.
class LineReader {
public:
    static constexpr std::size_t longestLine = 65536; // far beyond any line a profile holds

    explicit LineReader(const ProfilePieces& pieces) : pieces_(pieces) {}

    bool next(std::string_view& line) {
        line_.clear();
        lineEnded_ = false;
        bool started = false;
        for (;;) {
            if (piece_.empty() && !refill())
                break;
            started = true;
            const std::size_t lf = piece_.find('\n');
            const std::size_t take = lf == std::string_view::npos ? piece_.size() : lf;
            if (line_.size() + take > longestLine) {
                line_.append(piece_.substr(0, std::min(take, longestLine)));
                noteLineEnds();
                tooLong_ = true;
                return false;
            }
            line_.append(piece_.substr(0, take));
            piece_.remove_prefix(take);
            if (lf != std::string_view::npos) {
                piece_.remove_prefix(1);
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
    // Whether that line ended in a line break (the last line of a text cut short does not).
    bool lineEnded() const { return lineEnded_; }
    // Whether next() stopped early at a line longer than longestLine.
    bool tooLong() const { return tooLong_; }
    // What the first line shows of the text's line ends, for a hint when the text is no profile.
    enum class LineEnds { Usual, CrOnly, CrCrLf, Utf16 };
    LineEnds lineEnds() const { return lineEnds_; }

private:
    // UTF-16: a byte order mark, or a zero byte beside the first character. CR CR LF: the line
    // ends in two CRs. CR alone: a CR inside the line, with text after it (and no zero byte).
    void noteLineEnds() {
        if (lineNumber_ != 0)
            return;
        const std::string_view line = line_;
        const std::size_t cr = line.find('\r');
        if (line.starts_with("\xFF\xFE") || line.starts_with("\xFE\xFF") ||
            (line.size() >= 2 && (line[0] == '\0') != (line[1] == '\0')))
            lineEnds_ = LineEnds::Utf16;
        else if (line.find('\0') != std::string_view::npos)
            lineEnds_ = LineEnds::Usual;
        else if (cr != std::string_view::npos && cr + 2 == line.size() && line.ends_with("\r\r") &&
                 lineEnded_)
            lineEnds_ = LineEnds::CrCrLf;
        else if (cr != std::string_view::npos && cr + 1 < line.size())
            lineEnds_ = LineEnds::CrOnly;
    }

    bool refill() {
        if (ended_)
            return false;
        piece_ = pieces_();
        ended_ = piece_.empty();
        return !ended_;
    }

    const ProfilePieces& pieces_;
    std::string_view piece_; // what is left of the piece at hand
    bool ended_ = false, tooLong_ = false, lineEnded_ = false;
    LineEnds lineEnds_ = LineEnds::Usual;
    std::string line_;
    int64_t lineNumber_ = 0;
};

// Whether a double-quoted item may hold commas: in the version and option lines, not in a square's.
enum class Quotes { Honoured, Ignored };

// Splits a line at its commas. False on an unclosed quote, when quotes are honoured.
bool splitItems(std::string_view line, std::vector<std::string_view>& items, Quotes quotes) {
    items.clear();
    std::size_t start = 0;
    for (;;) {
        std::size_t from = start;
        while (from < line.size() && (line[from] == ' ' || line[from] == '\t'))
            ++from;
        if (quotes == Quotes::Honoured && from < line.size() && line[from] == '"') {
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
    std::string out = "\"";
    out += printableText(t, longest);
    out += '"';
    return out;
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
        const FieldLines fields = storedLines(p.options, p.organismCount, p.environmentCount, p.generation);
        bool read = true;
        for (std::size_t row = 0; read && row < profileLayout.size(); ++row)
            read = readRow(p, profileLayout[row], fields[row]);
        // A file without its last line break was cut short, and its last square may have been
        // cut with it.
        if (read && !lines_.lineEnded())
            read = fail(lines_.lineNumber(),
                        "a line break after the closing line " + std::string(profileLayout.back().text),
                        "the end of the file");
        if (!read) {
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

    bool readRow(Profile& p, const ProfileLine& row, const FieldLine& fields) {
        std::string_view line;
        switch (row.kind) {
        case ProfileLineKind::Skipped:
            return nextLine(line, std::string(row.role));
        case ProfileLineKind::Version:
            return readVersion(p.version);
        case ProfileLineKind::Options:
            return readOptionLine(fields);
        case ProfileLineKind::Squares:
            return readGrids(p);
        case ProfileLineKind::Closing:
            return readClosingLine(row.text);
        }
        return false;
    }

    bool readVersion(std::string& version) {
        const std::string expected = "the version in double quotes";
        std::string_view line;
        if (!nextLine(line, expected))
            return false;
        if (!splitItems(line, items_, Quotes::Honoured) || items_.size() != 1)
            return fail(lines_.lineNumber(), expected, shown(line));
        const std::optional<std::string_view> v = stringItem(items_[0]);
        if (!v)
            return fail(lines_.lineNumber(), expected, shown(line));
        version = *v;
        return true;
    }

    bool readOptionLine(const FieldLine& fields) {
        std::string_view line;
        if (!nextLine(line, describeLine(fields)))
            return false;
        const int64_t number = lines_.lineNumber();
        const bool split = splitItems(line, items_, Quotes::Honoured);
        if (!split || items_.size() != fields.size())
            return fail(number, describeLine(fields),
                        split ? std::to_string(items_.size()) + (items_.size() == 1 ? " item" : " items")
                              : shown(line));
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (!readField(fields[i], items_[i], number))
                return false;
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

    // The closing lines end every profile: a file without them was cut short.
    bool readClosingLine(std::string_view closing) {
        const std::string expected = "the closing line " + std::string(closing);
        std::string_view line;
        if (!nextLine(line, expected))
            return false;
        if (trimmed(line) != closing)
            return fail(lines_.lineNumber(), expected, shown(line));
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
        splitItems(line, items_, Quotes::Ignored);
        if (items_.size() != gridItemNames.size())
            return fail(lines_.lineNumber(),
                        "6 items for " + square() +
                            " (environment red, green, blue, organism red, green, blue)",
                        std::to_string(items_.size()) + (items_.size() == 1 ? " item" : " items"));
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (trimmed(items_[i]).empty())
                continue; // never set: stays empty
            const std::optional<double> v = parseProfileNumber(items_[i]);
            if (!v || !(*v >= 0 && *v <= 255))
                return fail(lines_.lineNumber(),
                            square() + " " + std::string(gridItemNames[i]) +
                                ", a number from 0 to 255 or an empty item",
                            shown(items_[i]));
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

void appendOptionLine(std::string& out, const FieldLine& fields) {
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

// One line per square, column by column; on a value no reader could take back, names its square
// in problem.
void appendSquares(std::string& out, int sizeX, int sizeY, const WorldState& world, std::string* problem) {
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
}

// Builds the profile text; on a value no reader could take back, names its square instead.
std::string buildProfileText(const SimulationOptions& options, const WorldState& world,
                             std::string* problem) {
    std::string out;
    const int sizeX = std::max(options.gridSizeX, 0);
    const int sizeY = std::max(options.gridSizeY, 0);
    out.reserve(2048 + static_cast<std::size_t>(sizeX) * static_cast<std::size_t>(sizeY) * 112);
    SimulationOptions o = options;
    int32_t counts[3] = {world.organismCount, world.environmentCount, world.generation};
    const FieldLines fields = storedLines(o, counts[0], counts[1], counts[2]);
    for (std::size_t row = 0; row < profileLayout.size(); ++row) {
        switch (profileLayout[row].kind) {
        case ProfileLineKind::Skipped:
        case ProfileLineKind::Closing:
            appendLine(out, profileLayout[row].text);
            break;
        case ProfileLineKind::Version:
            appendQuoted(out, options.versionString);
            break;
        case ProfileLineKind::Options:
            appendOptionLine(out, fields[row]);
            break;
        case ProfileLineKind::Squares:
            appendSquares(out, sizeX, sizeY, world, problem);
            break;
        }
    }
    return out;
}

} // namespace

std::optional<Profile> parseProfilePieces(const ProfilePieces& pieces, const std::string& nameForMessages,
                                          std::string& error) {
    LineReader lines(pieces);
    std::optional<Profile> profile;
    try {
        profile = ProfileParser(lines, nameForMessages).parse(error);
    } catch (const std::bad_alloc&) {
        error = nameForMessages + ": not enough memory to read this profile";
    }
    using LineEnds = LineReader::LineEnds;
    if (profile)
        return profile;
    switch (lines.lineEnds()) {
    case LineEnds::Usual:
        break;
    case LineEnds::CrOnly:
        error += " (the file's lines end in a carriage return alone; save it with LF or CR LF line ends)";
        break;
    case LineEnds::CrCrLf:
        error += " (the file's lines end in two carriage returns and a line feed, CR CR LF; save it with LF"
                 " or CR LF line ends)";
        break;
    case LineEnds::Utf16:
        error += " (the file is UTF-16 text, which is no profile: a profile is plain 8-bit text; save it"
                 " as UTF-8 or ANSI)";
        break;
    }
    return profile;
}

std::optional<Profile> parseProfileText(const std::string& text, const std::string& nameForMessages,
                                        std::string& error) {
    std::string_view rest = text;
    return parseProfilePieces(
        [&rest] {
            const std::string_view piece = rest.substr(0, profilePieceSize);
            rest.remove_prefix(piece.size());
            return piece;
        },
        nameForMessages, error);
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

} // namespace bx

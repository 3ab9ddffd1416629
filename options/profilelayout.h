#pragma once
// The layout of a profile file, one row per line, in file order. The reader and the writer
// (profile.cpp) both walk this table; tests take line numbers from it.
//
// A profile is 8-bit text, lines ending in CR LF when written (LF alone is read as well). It
// opens with six heading lines that the reader skips whatever they hold, then the saving
// program's version in double quotes and an empty line. The option lines follow, each a
// list of items separated by commas: an option's item stands where the option table places it
// (`ProfilePlace` in optionfields.cpp; a user colour's three components on three lines), and
// the rows here add the world's counters and one item that is always empty. After three more
// skipped lines come the squares, one line each, column by column (x = 1, y = 1..sizeY, then
// x = 2, ...): environment red, green, blue, organism red, green, blue, an empty item for a
// component never set. Three closing lines end the file; a file without them, or without the
// last one's line break, was cut short.
//
// Adding a line: a row here, the one place that gives or takes its value, and the corpus made
// again (scripts/regenerate-corpus.sh); see CONTRIBUTING.md.
#include <array>
#include <cstddef>
#include <string_view>

namespace bx {

enum class ProfileLineKind {
    Skipped, // written as its text; read as any text
    Version, // the saving program's versionString, in double quotes
    Options, // items separated by commas: options by their ProfilePlace, and the row's own items
    Squares, // not one line but one line per square
    Closing, // written as its text, and read only as that text
};

// An item an option line holds for the file itself rather than for an option.
enum class ProfileItem {
    None,  // an option's item, or no item
    Empty, // always empty
    OrganismCount,
    EnvironmentCount,
    Generation,
};

struct ProfileLine {
    ProfileLineKind kind;
    std::string_view text = {};            // Skipped, Closing: the line as written
    std::string_view role = {};            // Skipped: what a message says the line should be
    std::array<ProfileItem, 3> items = {}; // Options: the row's own items by their place (item 1
                                           // first); None where an option's item goes
};

namespace profilelayout {

inline constexpr std::string_view heading = "the file's heading";
inline constexpr std::string_view beforeSquares = "the line before the squares";
inline constexpr std::string_view empty = "\"\"";
inline constexpr std::string_view dashes = "\"-----------------------------------------\"";

constexpr ProfileLine skipped(std::string_view text, std::string_view role) {
    return {ProfileLineKind::Skipped, text, role};
}
constexpr ProfileLine options(std::array<ProfileItem, 3> own = {}) {
    return {ProfileLineKind::Options, {}, {}, own};
}
constexpr ProfileLine closing(std::string_view text) {
    return {ProfileLineKind::Closing, text};
}

using enum ProfileItem;

} // namespace profilelayout

inline constexpr std::array profileLayout{
    profilelayout::skipped("\"Bramblex 2 Configuration File\"", profilelayout::heading),
    profilelayout::skipped(profilelayout::empty, profilelayout::heading),
    profilelayout::skipped("\"Be careful if editing, unexpected results\"", profilelayout::heading),
    profilelayout::skipped("\"or crashes may occur.\"", profilelayout::heading),
    profilelayout::skipped(profilelayout::empty, profilelayout::heading),
    profilelayout::skipped(profilelayout::dashes, profilelayout::heading),
    ProfileLine{ProfileLineKind::Version},
    profilelayout::skipped(profilelayout::empty, "an empty line"),
    profilelayout::options(), // 9
    profilelayout::options(),
    profilelayout::options(),
    profilelayout::options(),
    profilelayout::options(),
    profilelayout::options(),
    profilelayout::options(), // 15
    profilelayout::options({profilelayout::Empty}),
    profilelayout::options(),
    profilelayout::options(),
    profilelayout::options(),
    profilelayout::options(), // 20
    profilelayout::options(
        {profilelayout::OrganismCount, profilelayout::EnvironmentCount, profilelayout::Generation}),
    profilelayout::options(),
    profilelayout::options(), // 23
    profilelayout::skipped(profilelayout::empty, profilelayout::beforeSquares),
    profilelayout::skipped(profilelayout::dashes, profilelayout::beforeSquares),
    profilelayout::skipped(profilelayout::empty, profilelayout::beforeSquares),
    ProfileLine{ProfileLineKind::Squares},
    profilelayout::closing(profilelayout::empty),
    profilelayout::closing(profilelayout::dashes),
    profilelayout::closing(profilelayout::empty),
};

// The row of the squares, which stands for a line per square.
constexpr std::size_t profileSquaresRow() {
    std::size_t row = 0;
    while (row < profileLayout.size() && profileLayout[row].kind != ProfileLineKind::Squares)
        ++row;
    return row;
}
static_assert(profileSquaresRow() < profileLayout.size(), "a profile holds squares");

// The line number (from 1) of a row, in a file of `squares` squares.
constexpr int profileLineOfRow(std::size_t row, long long squares = 0) {
    const long long line = static_cast<long long>(row) + 1;
    return static_cast<int>(row > profileSquaresRow() ? line + squares - 1 : line);
}

// The first line of a kind (of the squares: the line of square (1,1)).
constexpr int profileLineOf(ProfileLineKind kind, long long squares = 0) {
    for (std::size_t row = 0; row < profileLayout.size(); ++row)
        if (profileLayout[row].kind == kind)
            return profileLineOfRow(row, squares);
    return 0;
}

// The line of an item of the file's own; 0 for None.
constexpr int profileLineOf(ProfileItem item) {
    for (std::size_t row = 0; row < profileLayout.size() && item != ProfileItem::None; ++row)
        for (const ProfileItem own : profileLayout[row].items)
            if (own == item)
                return profileLineOfRow(row);
    return 0;
}

// The line of square (x, y), both from 1, in a grid of sizeY rows.
constexpr int profileSquareLine(int x, int y, int sizeY) {
    return profileLineOf(ProfileLineKind::Squares) + (x - 1) * sizeY + (y - 1);
}

// The number of lines of a profile of a sizeX by sizeY grid.
constexpr int profileLineCount(int sizeX, int sizeY) {
    return profileLineOfRow(profileLayout.size() - 1, static_cast<long long>(sizeX) * sizeY);
}

} // namespace bx

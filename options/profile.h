#pragma once
// The profile format: a whole simulation as text, parsed and written without touching a file
// (profilefile.h reads and writes files, profileload.h loads a profile into a simulation).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/grid.h"
#include "engine/options.h"
#include "engine/worldstate.h"

namespace bx {

// Everything a profile file holds.
struct Profile {
    std::string version;       // the saved versionString
    SimulationOptions options; // the stored fields as read (grid size not yet clamped);
                               // fields a profile does not store keep their defaults
    int32_t organismCount = 0;
    int32_t environmentCount = 0;
    int32_t generation = 0;
    Grid envGrid, orgGrid; // the file's squares up to column and row 100, the most ever used
};

// A profile's text as it arrives, piece after piece: each call gives the next piece, an empty
// one at the end (or when reading failed). A piece stays valid until the next call.
using ProfilePieces = std::function<std::string_view()>;

// The size of the pieces a profile is read in. A text in memory is cut the same way, so that a
// text and a file with the same bytes give the same message.
inline constexpr std::size_t profilePieceSize = 65536;

// Parses a profile, line by line: memory is bounded by what is kept, not by the text's size. On
// failure returns nullopt and sets error to a message that names nameForMessages (the file),
// the line number and what was expected there.
std::optional<Profile> parseProfilePieces(const ProfilePieces& pieces, const std::string& nameForMessages,
                                          std::string& error);

// The same for a profile already in memory.
std::optional<Profile> parseProfileText(const std::string& text, const std::string& nameForMessages,
                                        std::string& error);

// The profile text of a simulation (CR LF line ends): options.versionString, the stored options,
// the counters of world and squares 1..gridSizeX by 1..gridSizeY of its grids. Squares a grid
// does not have are written as never set.
std::string profileText(const SimulationOptions& options, const WorldState& world);

// The profile text of a simulation for writing, or "" with the reason in problem when the world
// holds a value that no reader could take back (it names the square).
std::string writableProfileText(const SimulationOptions& options, const WorldState& world,
                                std::string& problem);

// The options a loaded profile gives: its stored fields, with the grid size clamped to 100, and
// from `current` everything a profile does not store (environmentColourMode, blendOnOvertake,
// the identity strings).
SimulationOptions optionsOfProfile(const Profile& profile, const SimulationOptions& current);

} // namespace bx

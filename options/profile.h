#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/grid.h"
#include "engine/options.h"
#include "engine/simulation.h"
#include "engine/worldstate.h"
#include "text/strings.h"

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

// Parses a whole profile file, reading it line by line: memory is bounded by what is kept, not by
// the file's size. On failure returns nullopt and sets error to a message that names the file,
// the line number and what was expected there. A path that is not a regular file (a folder, a
// named pipe, a device, a socket) is refused without being opened for reading.
std::optional<Profile> parseProfile(const std::string& path, std::string& error);

// The same for a profile already in memory; nameForMessages stands for the file in messages.
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

// Writes the simulation as a profile: a temporary file in the target's folder, then renamed over
// the target. Returns "" on success, else a message naming the file and the reason; an existing
// target is then left as it was.
std::string writeProfile(const std::string& path, const SimulationOptions& options, const WorldState& world);

// The options a loaded profile gives: its stored fields, with the grid size clamped to 100, and
// from `current` everything a profile does not store (environmentColourMode, blendOnOvertake,
// the identity strings).
SimulationOptions optionsOfProfile(const Profile& profile, const SimulationOptions& current);

enum class ProfileLoad { Loaded, Declined, Failed };

// Loads a profile into the simulation. A profile of another version is loaded only when the user
// says Yes to the version question. Loading replaces the stored options (environmentColourMode,
// blendOnOvertake and the identity strings stay), the counters and both grids, clamps the grid
// size to 100, puts the creation, update and drawing cursors at 1, lays the windows out and
// redraws. A world still being created is abandoned for the loaded one.
// Declined and Failed leave options, counters and world exactly as they were; Failed sets error.
// savedVersion, when given, gets the version the file was saved with once the file has been read.
ProfileLoad readProfile(const std::string& path, Simulation& sim, std::string& error,
                        std::string* savedVersion = nullptr);

} // namespace bx

#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "engine/grid.h"
#include "engine/options.h"
#include "engine/simulation.h"
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
    Grid envGrid, orgGrid;     // sized by the file's gridSizeX and gridSizeY
};

// Parses a whole profile file. On failure returns nullopt and sets error to a message that names
// the file, the line number and what was expected there. Nothing is allocated for the grids
// before the file is known to hold all their lines.
std::optional<Profile> parseProfile(const std::string& path, std::string& error);

// The same for a profile already in memory; nameForMessages stands for the file in messages.
std::optional<Profile> parseProfileText(const std::string& text, const std::string& nameForMessages,
                                        std::string& error);

// The profile text of a simulation (CR LF line ends): options.versionString, the stored options,
// the counters of world and squares 1..gridSizeX by 1..gridSizeY of its grids. Squares a grid
// does not have are written as never set.
std::string profileText(const SimulationOptions& options, const WorldState& world);

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
ProfileLoad readProfile(const std::string& path, Simulation& sim, std::string& error);

} // namespace bx

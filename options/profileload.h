#pragma once
// Loading a profile into a running simulation: the version question, then the options and the
// world.
#include <functional>
#include <string>

#include "engine/simulation.h"
#include "options/profile.h"

namespace bx {

enum class ProfileLoad { Loaded, Declined, Failed };

// Changes a profile's options before its world is loaded with them (the runner's --set).
using OptionsAdjustment = std::function<void(SimulationOptions&)>;

// Loads a profile into the simulation. A profile of another version is loaded only when the user
// says Yes to the version question. Loading replaces the stored options (environmentColourMode,
// blendOnOvertake and the identity strings stay), the counters and both grids, clamps the grid
// size to 100, puts the creation, update and drawing cursors at 1, lays the windows out and
// redraws. A world still being created is abandoned for the loaded one.
// Declined and Failed leave options, counters and world exactly as they were; Failed sets error.
// savedVersion, when given, gets the version the file was saved with once the file has been read.
// adjust, when given, changes the options before the world is loaded, so that the grids are
// fitted to the options the world then runs with.
ProfileLoad readProfile(const std::string& path, Simulation& sim, std::string& error,
                        std::string* savedVersion = nullptr, const OptionsAdjustment& adjust = {});

// The same for a profile already read: Loaded or Declined.
ProfileLoad loadProfile(Profile profile, Simulation& sim, const OptionsAdjustment& adjust = {});

} // namespace bx

#pragma once
// Profiles on disk: a file read into the profile format, a simulation written as one.
#include <optional>
#include <string>

#include "engine/options.h"
#include "engine/worldstate.h"
#include "profile.h"

namespace bx {

// Parses a whole profile file, reading it piece by piece: memory is bounded by what is kept, not
// by the file's size. On failure returns nullopt and sets error to a message that names the file
// (and, for what it holds, the line number and what was expected there). A path that is not a
// regular file (a folder, a named pipe, a device, a socket) is refused without being opened for
// reading.
std::optional<Profile> parseProfile(const std::string& path, std::string& error);

// Writes the simulation as a profile: a temporary file in the target's folder, then renamed over
// the target (a pipe or device is written straight into, atomicfile.h). Returns "" on success,
// else a message naming the file and the reason; an existing file is then left as it was, while a
// pipe or device may have taken part of the text: *partWritten (when given) says which.
std::string writeProfile(const std::string& path, const SimulationOptions& options, const WorldState& world,
                         bool* partWritten = nullptr);

} // namespace bx

#pragma once
// Pictures of a run at every Nth generation, for turning into a video: FOLDER/frame-000001.png at
// generation N, frame-000002.png at 2N, … Each is written whole (a temporary file, then renamed).
#include <cstdint>
#include <string>

#include "cli/interruption.h"
#include "engine/options.h"
#include "engine/worldstate.h"

namespace bx::cli {

class FrameWriter {
public:
    // Makes the folder when it is not there; the writer's rules for folders everyone may write to
    // (options/atomicfile.h) are checked before anything in it is removed. A folder that holds
    // frames already is refused (std::runtime_error naming it) unless overwrite is asked for; its
    // frames are then removed, so that none of an older run is left among the new ones. Only
    // regular files count as frames.
    FrameWriter(std::string folder, int64_t every, int squareSize, bool overwrite,
                Interruption& interruption);

    // After each finished generation of the run (counted from 1): the frame, when one is due.
    // Throws std::runtime_error when it cannot be written.
    void generationEnded(int64_t generation, const WorldState& world, const SimulationOptions& options);

    int64_t framesWritten() const { return written_; }
    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
    int64_t every_;
    int squareSize_;
    Interruption& interruption_;
    int64_t written_ = 0;
};

// "frame-000012.png"
std::string frameName(int64_t number);
// Whether a file's name is one frameName gives.
bool isFrameName(const std::string& name);

} // namespace bx::cli

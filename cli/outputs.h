#pragma once
// The files a run writes (--stats, --png, --save): opened before the first generation, so that a
// target that cannot be written fails at once, and written whole at the end (or where a signal
// stopped the run).
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/interruption.h"
#include "options/atomicfile.h"

namespace bx::cli {

class RunOutputs {
public:
    // Opens every output that is a file ("-" for the statistics is standard output, not a file);
    // throws std::runtime_error naming a target that cannot be written. A named pipe waits here
    // for its reader. A second signal removes the temporary files.
    RunOutputs(const std::optional<std::string>& stats, const std::optional<std::string>& png,
               const std::optional<std::string>& save, Interruption& interruption);
    ~RunOutputs();
    RunOutputs(const RunOutputs&) = delete;
    RunOutputs& operator=(const RunOutputs&) = delete;

    AtomicFile* stats() const { return stats_; }
    AtomicFile* png() const { return png_; }
    AtomicFile* save() const { return save_; }

    // Every file is written out and synced before any is renamed into place, so that a full disk
    // leaves every old file as it was. Throws naming the file that failed and the ones written.
    // A pipe whose reader has gone takes nothing more and holds up no other output: the targets
    // of such pipes are returned.
    std::vector<std::string> commit();

private:
    AtomicFile* open(const std::optional<std::string>& path);

    Interruption& interruption_;
    std::vector<std::unique_ptr<AtomicFile>> files_;
    AtomicFile* stats_ = nullptr;
    AtomicFile* png_ = nullptr;
    AtomicFile* save_ = nullptr;
};

// "cannot write '<target>': <reason>"
std::string cannotWrite(const std::string& target, const std::string& reason);

// Whether standard output is a pipe (or socket) whose reader has gone.
bool standardOutputClosed();

// Whether path names what standard output writes to ("-", or a path such as /dev/stdout).
bool isStandardOutput(const std::optional<std::string>& path);

} // namespace bx::cli

#pragma once
// Writing a file so that a crash, a full disk or an interrupted run never leaves half of it: the
// text goes to a temporary file beside the target, is synced to disk and renamed over the target.
//
// What stands at the target decides how it is written:
// - nothing, or a regular file: the temporary file and the rename; a replaced file keeps its
//   permission bits (and, for root, its owner);
// - a symbolic link (also one whose file does not exist yet): the file it leads to is written
//   that way, beside that file; the link stays a link;
// - a device, a named pipe or a socket, or the program's own standard output or error: written
//   straight into, never replaced (as `--stats /dev/null` expects of any Unix tool);
// - a folder: refused.
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace bx {

class AtomicFile {
public:
    // A named pipe that nobody reads yet is waited for (a command-line run, like any Unix tool),
    // or refused at once (a window must never hang).
    enum class PipeReader { Wait, Required };

    // Opens the target for writing. On failure error() says why (the system's words, or what
    // stands at the target) and nothing was created.
    explicit AtomicFile(std::string target, PipeReader pipes = PipeReader::Required);
    // Removes the temporary file unless it was committed.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    const std::string& target() const { return target_; }
    // The temporary file, "" when the target is written straight into.
    const std::string& temporaryPath() const { return temporary_; }

    std::ostream& stream();
    // Writes out what is buffered and syncs it to disk: only the rename is left. "" or the reason.
    std::string finish();
    // finish(), then renames the temporary file over the target. "" or the reason; on failure
    // the target is as it was.
    std::string commit();

private:
    class Buffer;
    std::string target_;
    std::string destination_; // the file renamed over: the target, or the file its link leads to
    std::string temporary_;
    std::string error_;
    int fd_ = -1;
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
    bool finished_ = false;
    bool committed_ = false;
};

// Replaces the file at path by text, by the rules above (a named pipe must have a reader).
// Returns "" on success, else the reason; the old file is then left as it was and no
// temporary file stays behind.
std::string replaceFileText(const std::string& path, std::string_view text);

} // namespace bx

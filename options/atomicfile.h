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
//
// In a folder that everyone may write to and only owners may delete from (sticky, such as /tmp),
// whatever the system's own protection says, a link is followed, a folder entered and a file
// written into only when it belongs to the writer or to the folder's owner: another user's is
// refused, on the way to the target as at the target, whatever it leads to.
//
// The path is resolved once, one name at a time through open folders, and every later step
// (looking at the file, taking its owner and mode, placing and renaming the temporary file) works
// on what that resolution found, so that swapping names meanwhile cannot redirect the write.
#include <chrono>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace bx {

struct ResolvedPath; // where resolving a target ended (atomicfile.cpp)

class AtomicFile {
public:
    // A named pipe that nobody reads yet, or that takes what is written slowly, is waited for (a
    // command-line run, like any Unix tool). Required: a reader must be there already, and a pipe
    // or device must take the whole text within `patience` (a window must never hang).
    enum class PipeReader { Wait, Required };
    static constexpr std::chrono::milliseconds defaultPatience{5000};

    // Opens the target for writing. On failure error() says why (the system's words, or what
    // stands at the target) and nothing was created.
    explicit AtomicFile(std::string target, PipeReader pipes = PipeReader::Required,
                        std::chrono::milliseconds patience = defaultPatience);
    // Removes the temporary file unless it was committed.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    const std::string& target() const { return target_; }
    // The temporary file, "" when the target is written straight into.
    const std::string& temporaryPath() const { return temporary_; }
    // The same as its open folder and its name there, for removal by a path of any length
    // (-1 and "" when there is none); valid while this object lives.
    int temporaryFolder() const { return tempName_.empty() ? -1 : folder_; }
    const std::string& temporaryName() const { return tempName_; }
    // Whether writing failed because the pipe's reader has gone (EPIPE): nothing more can reach it.
    // Known as soon as a write fails, before finish().
    bool readerGone() const;

    std::ostream& stream();
    // Writes out what is buffered and syncs it to disk: only the rename is left. "" or the reason.
    std::string finish();
    // finish(), then renames the temporary file over the target. "" or the reason; on failure
    // the target is as it was.
    std::string commit();

private:
    class Buffer;
    void openStraight(const ResolvedPath& place, PipeReader pipes);
    void openTemporary(const ResolvedPath& place);
    void giveOwnerAndMode();

    std::string target_;
    int folder_ = -1;       // the folder of the file renamed over (the target's, or its link's file's)
    std::string name_;      // that file's name in folder_
    std::string tempName_;  // the temporary file's name in folder_
    std::string temporary_; // and its path, for messages and for removal by a signal handler
    std::string error_;
    int fd_ = -1;
    bool replaces_ = false; // a file stands there: its owner and mode go to the new one
    unsigned mode_ = 0;
    unsigned uid_ = 0, gid_ = 0;
    bool readerGone_ = false;
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
    bool finished_ = false;
    bool committed_ = false;
};

// Opens the folder at path for listing and writing into (O_RDONLY), by the rules above for the
// folders on the way; the missing folders of the path, the last one too, are made (0777 less the
// umask). Returns the descriptor, or -1 with error set.
int openFolderForWriting(const std::string& path, std::string& error);

// The name that path has in folder, when the file it leads to is written in that folder (which
// must exist); nullopt otherwise.
std::optional<std::string> nameInFolder(const std::string& path, const std::string& folder);

// Replaces the file at path by text, by the rules above (a named pipe must have a reader).
// Returns "" on success, else the reason; the old file is then left as it was and no
// temporary file stays behind.
std::string replaceFileText(const std::string& path, std::string_view text);

// Whether two paths lead to the same file: the same existing file (through links or hard links),
// or the same name in the same folder for one that does not exist yet.
bool sameTarget(const std::string& a, const std::string& b);

} // namespace bx

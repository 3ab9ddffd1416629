#include "profilefile.h"

#include <cerrno>
#include <string_view>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "atomicfile.h"

namespace bx {
namespace {

// What stands at a path that is not a file, in a message.
std::string notAFile(mode_t mode) {
    if (S_ISDIR(mode))
        return "it is a folder";
    if (S_ISFIFO(mode))
        return "it is a named pipe, not a file";
    if (S_ISSOCK(mode))
        return "it is a socket, not a file";
    return "it is a device, not a file";
}

// Opens a regular file for reading; anything else is refused without being opened, so that a
// named pipe or a device never makes the reader wait or read without end. -1 with why on failure.
int openRegularFile(const std::string& path, std::string& why) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        why = std::generic_category().message(errno);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        why = notAFile(st.st_mode);
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) { // replaced since the look above
        why = fd < 0 ? std::generic_category().message(errno) : notAFile(st.st_mode);
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    return fd;
}

// An open file read in pieces through one buffer, which is all it holds; closed with it.
class FilePieces {
public:
    explicit FilePieces(int fd) : fd_(fd), buffer_(profilePieceSize) {}
    ~FilePieces() { ::close(fd_); }
    FilePieces(const FilePieces&) = delete;
    FilePieces& operator=(const FilePieces&) = delete;

    std::string_view next() {
        ssize_t n = 0;
        while ((n = ::read(fd_, buffer_.data(), buffer_.size())) < 0 && errno == EINTR) {
        }
        if (n < 0) {
            failure_ = std::generic_category().message(errno);
            return {};
        }
        return {buffer_.data(), static_cast<std::size_t>(n)};
    }
    // Why reading failed, "" while it has not.
    const std::string& failure() const { return failure_; }

private:
    int fd_;
    std::vector<char> buffer_;
    std::string failure_;
};

std::string cannotRead(const std::string& path, const std::string& reason) {
    return "Cannot read the profile \"" + path + "\": " + reason;
}

std::string cannotWrite(const std::string& path, const std::string& reason) {
    return "Cannot write the profile \"" + path + "\": " + reason;
}

} // namespace

std::optional<Profile> parseProfile(const std::string& path, std::string& error) {
    std::string why;
    const int fd = openRegularFile(path, why);
    if (fd < 0) {
        error = cannotRead(path, why);
        return std::nullopt;
    }
    FilePieces file(fd);
    std::optional<Profile> profile = parseProfilePieces([&file] { return file.next(); }, path, error);
    if (!profile && !file.failure().empty())
        error = cannotRead(path, file.failure()); // what the file holds is not at fault
    return profile;
}

std::string writeProfile(const std::string& path, const SimulationOptions& options, const WorldState& world,
                         bool* partWritten) {
    if (partWritten)
        *partWritten = false;
    std::string problem;
    const std::string text = writableProfileText(options, world, problem);
    if (!problem.empty())
        return cannotWrite(path, problem);
    AtomicFile file(path, AtomicFile::PipeReader::Required);
    if (!file.ok())
        return cannotWrite(path, file.error());
    file.stream().write(text.data(), static_cast<std::streamsize>(text.size()));
    if (const std::string reason = file.commit(); !reason.empty()) {
        if (partWritten)
            *partWritten = file.temporaryPath().empty(); // written straight into a pipe or device
        return cannotWrite(path, reason);
    }
    return {};
}

} // namespace bx

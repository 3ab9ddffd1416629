#include "outputfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace bx::cli {
namespace {

std::runtime_error writeError(const std::string& target, int error) {
    return std::runtime_error("cannot write '" + target + "': " + std::strerror(error));
}

// The mode a plain new file would get: rw for everyone the umask allows. umask can only be read
// by setting it, so it is put back at once (the runner has one thread).
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

} // namespace

OutputFile::OutputFile(std::string target) : target_(std::move(target)) {
    std::vector<char> name(target_.begin(), target_.end());
    const std::string suffix = ".XXXXXX";
    name.insert(name.end(), suffix.begin(), suffix.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        throw writeError(target_, errno);
    temporary_ = name.data();
    struct stat existing {};
    const mode_t mode = ::stat(target_.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : newFileMode();
    ::fchmod(fd, mode);
    ::close(fd);
    stream_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (!stream_) {
        const int error = errno;
        std::remove(temporary_.c_str());
        throw writeError(target_, error);
    }
}

OutputFile::~OutputFile() {
    if (!committed_) {
        stream_.close();
        std::remove(temporary_.c_str());
    }
}

void OutputFile::commit() {
    stream_.flush();
    const bool written = static_cast<bool>(stream_);
    stream_.close();
    if (!written || stream_.fail())
        throw writeError(target_, errno != 0 ? errno : EIO);
    if (const int fd = ::open(temporary_.c_str(), O_RDONLY); fd >= 0) {
        const bool synced = ::fsync(fd) == 0;
        const int error = errno;
        ::close(fd);
        if (!synced)
            throw writeError(target_, error);
    }
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0)
        throw writeError(target_, errno);
    committed_ = true;
}

} // namespace bx::cli

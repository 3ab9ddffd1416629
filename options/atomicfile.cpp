#include "atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <streambuf>
#include <system_error>
#include <vector>

namespace bx {
namespace {

namespace fs = std::filesystem;

std::string systemMessage(int error) {
    return std::generic_category().message(error);
}

// The file a chain of symbolic links leads to, whether it exists or not (a dangling link's file
// is created). Relative links count from the folder of the link.
bool followLinks(fs::path& path, std::string& error) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::vector<char> buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0) {
            error = systemMessage(errno);
            return false;
        }
        const fs::path next(std::string(buffer.data(), static_cast<std::size_t>(n)));
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    error = systemMessage(ELOOP);
    return false;
}

bool sameFile(const struct stat& a, int fd) {
    struct stat b {};
    return ::fstat(fd, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// What stands at a target that can be neither replaced nor written into, in a message.
std::string refusal(const struct stat& st) {
    return S_ISDIR(st.st_mode) ? "it is a folder" : "it is a socket";
}

// The mode a plain new file gets: rw for everyone the umask allows. umask can only be read by
// setting it, so it is put back at once.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

} // namespace

// Writes to a file descriptor through a buffer; remembers the first error.
class AtomicFile::Buffer : public std::streambuf {
public:
    explicit Buffer(int fd) : fd_(fd), data_(65536) { setp(data_.data(), data_.data() + data_.size()); }
    int error() const { return error_; }

protected:
    int_type overflow(int_type ch) override {
        if (!drain())
            return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    int sync() override { return drain() ? 0 : -1; }

private:
    bool drain() {
        const char* from = pbase();
        std::size_t left = static_cast<std::size_t>(pptr() - pbase());
        while (left > 0 && error_ == 0) {
            const ssize_t n = ::write(fd_, from, left);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                error_ = n < 0 ? errno : EIO;
            else {
                from += n;
                left -= static_cast<std::size_t>(n);
            }
        }
        setp(data_.data(), data_.data() + data_.size());
        return error_ == 0;
    }

    int fd_;
    int error_ = 0;
    std::vector<char> data_;
};

AtomicFile::AtomicFile(std::string target, PipeReader pipes) : target_(std::move(target)) {
    struct stat st {};
    const bool exists = ::stat(target_.c_str(), &st) == 0; // through any links
    if (!exists && errno != ENOENT) {
        error_ = systemMessage(errno);
    } else if (exists && (S_ISDIR(st.st_mode) || S_ISSOCK(st.st_mode))) {
        error_ = refusal(st);
    } else if (exists && (sameFile(st, STDOUT_FILENO) || sameFile(st, STDERR_FILENO))) {
        // Shares the stream's offset: what the program itself writes there follows on.
        fd_ = ::fcntl(sameFile(st, STDOUT_FILENO) ? STDOUT_FILENO : STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    } else if (exists && !S_ISREG(st.st_mode)) {
        const bool waitForReader = pipes == PipeReader::Wait || !S_ISFIFO(st.st_mode);
        fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | (waitForReader ? 0 : O_NONBLOCK));
        if (fd_ < 0 && errno == ENXIO && S_ISFIFO(st.st_mode))
            error_ = "it is a named pipe that nothing reads from";
        else if (fd_ >= 0 && !waitForReader)
            ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    } else {
        fs::path destination(target_);
        if (followLinks(destination, error_)) {
            destination_ = destination.string();
            const fs::path folder =
                destination.parent_path().empty() ? fs::path(".") : destination.parent_path();
            std::string name = "."; // built up in steps: GCC 12 warns falsely on "." + string
            name += destination.filename().string();
            name += ".XXXXXX";
            std::string pattern = (folder / name).string();
            fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
            if (fd_ >= 0) {
                temporary_ = pattern;
                ::fchmod(fd_, exists ? (st.st_mode & 07777) : newFileMode());
                if (exists && ::geteuid() == 0 && ::fchown(fd_, st.st_uid, st.st_gid) != 0) {
                    // the owner is kept where it can be; the file is written all the same
                }
            }
        }
    }
    if (fd_ < 0 && error_.empty())
        error_ = systemMessage(errno);
    buffer_ = std::make_unique<Buffer>(fd_);
    stream_ = std::make_unique<std::ostream>(ok() ? buffer_.get() : nullptr);
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporary_.empty() && !committed_)
        ::unlink(temporary_.c_str());
}

std::ostream& AtomicFile::stream() {
    return *stream_;
}

std::string AtomicFile::finish() {
    if (!ok())
        return error_;
    if (finished_)
        return {};
    stream_->flush();
    int error = buffer_->error();
    if (error == 0 && !*stream_)
        error = EIO;
    if (error == 0 && !temporary_.empty() && ::fsync(fd_) != 0)
        error = errno;
    if (::close(fd_) != 0 && error == 0)
        error = errno;
    fd_ = -1;
    if (error != 0)
        error_ = systemMessage(error);
    finished_ = true;
    return error_;
}

std::string AtomicFile::commit() {
    if (const std::string reason = finish(); !reason.empty())
        return reason;
    if (temporary_.empty() || committed_)
        return {};
    if (::rename(temporary_.c_str(), destination_.c_str()) != 0)
        return error_ = systemMessage(errno);
    committed_ = true;
    return {};
}

std::string replaceFileText(const std::string& path, std::string_view text) {
    AtomicFile file(path, AtomicFile::PipeReader::Required);
    if (!file.ok())
        return file.error();
    file.stream().write(text.data(), static_cast<std::streamsize>(text.size()));
    return file.commit();
}

} // namespace bx

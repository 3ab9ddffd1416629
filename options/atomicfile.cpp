#include "atomicfile.h"

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <random>
#include <streambuf>
#include <system_error>
#include <utility>
#include <vector>

namespace bx {
namespace {

std::string systemMessage(int error) {
    return std::generic_category().message(error);
}

// Why a write failed, in a message; ETIMEDOUT is our own patience running out.
std::string writeFailure(int error, std::chrono::milliseconds patience) {
    if (error == EPIPE)
        return "nothing reads from it any more";
    if (error == ETIMEDOUT) {
        const auto seconds = (patience.count() + 999) / 1000;
        return "it did not take what was written within " + std::to_string(seconds) +
               (seconds == 1 ? " second" : " seconds");
    }
    return systemMessage(error);
}

// A file descriptor that closes itself.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

bool sameInode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool sameFile(const struct stat& a, int fd) {
    struct stat b {};
    return ::fstat(fd, &b) == 0 && sameInode(a, b);
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

// The names of a path, last first (so that the next one is at the back); "." and empty names
// say nothing and are left out.
void pushNames(std::string_view path, std::vector<std::string>& pending) {
    std::vector<std::string> names;
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        const std::string_view name = path.substr(start, slash - start);
        if (!name.empty() && name != ".")
            names.emplace_back(name);
        start = slash + 1;
    }
    pending.insert(pending.end(), names.rbegin(), names.rend());
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The kernel's rules for shared folders (protected_symlinks, protected_regular, protected_fifos),
// applied whatever the system's settings, and to folders as well: in a folder that everyone may
// write to and only owners may delete from, what stands there is followed, entered or written into
// only when it belongs to the writer or to the folder's owner.
bool mayUse(const struct stat& node, const struct stat& folder) {
    constexpr mode_t shared = S_ISVTX | S_IWOTH;
    return (folder.st_mode & shared) != shared || node.st_uid == ::geteuid() || node.st_uid == folder.st_uid;
}

// Why what stands at path in a shared folder is refused, in a message; "it" when path is the target.
std::string notOurs(const struct stat& node, const std::string& path, const std::string& target) {
    const mode_t mode = node.st_mode;
    const char* kind = S_ISLNK(mode)    ? "a link"
                       : S_ISDIR(mode)  ? "a folder"
                       : S_ISREG(mode)  ? "a file"
                       : S_ISFIFO(mode) ? "a named pipe"
                       : S_ISSOCK(mode) ? "a socket"
                                        : "a device";
    const char* refused = S_ISLNK(mode)   ? "not followed"
                          : S_ISREG(mode) ? "not replaced"
                                          : "not written into";
    return (path == target ? std::string("it") : "'" + path + "'") + " is " + kind +
           " of another user in a folder everyone may write to: " + refused;
}

std::optional<std::string> linkText(int link, std::string& error) {
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t n = ::readlinkat(link, "", buffer.data(), buffer.size());
    if (n < 0 || static_cast<std::size_t>(n) >= buffer.size()) {
        error = systemMessage(n < 0 ? errno : ENAMETOOLONG);
        return std::nullopt;
    }
    return std::string(buffer.data(), static_cast<std::size_t>(n));
}

} // namespace

// Where resolving a target ended: an open folder, the name in it, and what stands there (opened
// as a path, never followed), or nothing.
struct ResolvedPath {
    Fd folder;
    std::string folderPath; // the folder as a path, for the temporary file's path
    std::string name;
    Fd node;
    struct stat st {};
    // A link whose kernel-followed file is not a regular file or a folder (a pipe of /dev/fd/N,
    // a device): written straight into through the link, which was found fit to follow.
    bool throughLink = false;
};

namespace {

struct Walk {
    ResolvedPath& place;
    const std::string& target;
    bool endsAtFolder = false; // the path names a folder, not a file
    bool makeMissing = false;  // and its missing names are made as folders
    std::vector<std::string> pending;
    int links = 0;
};

bool restart(Walk& w, const std::string& path, std::string& error) {
    const bool absolute = !path.empty() && path[0] == '/';
    w.place.folder = Fd(::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    w.place.folderPath = std::string(absolute ? 1 : 0, '/');
    pushNames(path, w.pending);
    if (!w.place.folder)
        error = systemMessage(errno);
    return bool(w.place.folder);
}

// Whether a file is what the program's standard output or error writes to.
bool isConsole(const struct stat& st) {
    return sameFile(st, STDOUT_FILENO) || sameFile(st, STDERR_FILENO);
}

// The last name is a link: when what the kernel finds through it is a pipe or a device (such as
// the pipe behind /dev/fd/N, whose link text is no path), or the program's own standard output or
// error (/dev/stdout), that is the place.
bool leadsToStream(Walk& w, const std::string& name) {
    Fd through(::openat(w.place.folder.get(), name.c_str(), O_PATH | O_CLOEXEC));
    struct stat st {};
    if (!through || ::fstat(through.get(), &st) != 0 || S_ISDIR(st.st_mode) ||
        (S_ISREG(st.st_mode) && !isConsole(st)))
        return false;
    w.place.name = name;
    w.place.node = std::move(through);
    w.place.st = st;
    w.place.throughLink = true;
    return true;
}

// Follows the link node at name (found fit to follow): false when the walk ends there (done says
// whether it found its place).
bool followLink(Walk& w, const Fd& node, const std::string& name, bool& done, std::string& error) {
    if (++w.links > 40) {
        error = systemMessage(ELOOP);
        return false;
    }
    if (w.pending.empty() && !w.endsAtFolder && leadsToStream(w, name))
        return !(done = true);
    const std::optional<std::string> text = linkText(node.get(), error);
    if (text && text->empty())
        error = systemMessage(ENOENT);
    if (!text || text->empty())
        return false;
    if ((*text)[0] == '/')
        return restart(w, *text, error);
    pushNames(*text, w.pending);
    return true;
}

// Opens name in the folder as a path, never following it; makes it a folder first when it is
// missing and the walk makes folders. Another one made meanwhile is taken as found.
Fd openName(const Walk& w, const std::string& name) {
    Fd node(::openat(w.place.folder.get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (node || errno != ENOENT || !w.makeMissing)
        return node;
    if (::mkdirat(w.place.folder.get(), name.c_str(), 0777) != 0 && errno != EEXIST)
        return node;
    return Fd(::openat(w.place.folder.get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
}

// One step: false when the walk ends (done says whether it found its place).
bool step(Walk& w, bool& done, std::string& error) {
    ResolvedPath& p = w.place;
    const std::string name = std::move(w.pending.back());
    w.pending.pop_back();
    const bool last = w.pending.empty();
    Fd node = openName(w, name);
    struct stat st {};
    struct stat folder {};
    if (!node || ::fstat(node.get(), &st) != 0 || ::fstat(p.folder.get(), &folder) != 0) {
        const int why = errno;
        done = last && why == ENOENT && !w.endsAtFolder; // a new file
        p.name = name;
        if (!done)
            error = systemMessage(why);
        return false;
    }
    if (name != ".." && !mayUse(st, folder)) {
        error = notOurs(st, joined(p.folderPath, name), w.target);
        return false;
    }
    if (S_ISLNK(st.st_mode))
        return followLink(w, node, name, done, error);
    if (last && w.endsAtFolder && !S_ISDIR(st.st_mode)) {
        error = "it is not a folder";
        return false;
    }
    if (last && !w.endsAtFolder) {
        p.name = name;
        p.node = std::move(node);
        p.st = st;
        return !(done = true);
    }
    if (!S_ISDIR(st.st_mode)) {
        error = systemMessage(ENOTDIR);
        return false;
    }
    p.folder = std::move(node);
    p.folderPath = joined(p.folderPath, name);
    return !(done = last);
}

// Resolves the target name by name, through the links that may be followed. On success place
// holds the folder and the name; place.node is open when something stands there. A walk that
// ends at a folder ends in place.folder, the folder named (made where it was missing, if asked).
enum class Ends { AtFile, AtFolder, AtMadeFolder };
bool resolve(const std::string& target, ResolvedPath& place, std::string& error, Ends ends = Ends::AtFile) {
    Walk w{place, target, ends != Ends::AtFile, ends == Ends::AtMadeFolder, {}, 0};
    if (target.empty()) {
        error = systemMessage(ENOENT);
        return false;
    }
    if (!restart(w, target, error))
        return false;
    bool done = false;
    while (!w.pending.empty())
        if (!step(w, done, error))
            return done;
    if (w.endsAtFolder) // the path named its start itself ("/", ".")
        return done = true;
    if (!done) // the path, or a link, named a folder itself ("/", "..", "dir/")
        error = "it is a folder";
    return done;
}

} // namespace

// Writes to a file descriptor through a buffer; remembers the first error. A bounded one never
// blocks for longer than its patience in all: it waits for room with poll() and writes no more
// than a pipe takes at once.
class AtomicFile::Buffer : public std::streambuf {
public:
    using Clock = std::chrono::steady_clock;
    Buffer(int fd, std::optional<std::chrono::milliseconds> patience)
        : fd_(fd), patience_(patience), data_(65536) {
        setp(data_.data(), data_.data() + data_.size());
    }
    int error() const { return error_; }
    std::chrono::milliseconds patience() const { return patience_.value_or(std::chrono::milliseconds{}); }

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
        while (left > 0 && error_ == 0 && (!patience_ || roomWithinPatience())) {
            const ssize_t n = ::write(fd_, from, patience_ ? std::min<std::size_t>(left, PIPE_BUF) : left);
            if (n < 0 && (errno == EINTR || errno == EAGAIN))
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

    bool roomWithinPatience() {
        if (!deadline_)
            deadline_ = Clock::now() + *patience_;
        for (;;) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline_ - Clock::now());
            pollfd p{fd_, POLLOUT, 0};
            const int n = ::poll(&p, 1, static_cast<int>(std::max<int64_t>(left.count(), 0)));
            if (n > 0)
                return true; // room, or an error the write then reports
            if (n == 0 || errno != EINTR) {
                error_ = n == 0 ? ETIMEDOUT : errno;
                return false;
            }
        }
    }

    int fd_;
    std::optional<std::chrono::milliseconds> patience_;
    std::optional<Clock::time_point> deadline_;
    int error_ = 0;
    std::vector<char> data_;
};

AtomicFile::AtomicFile(std::string target, PipeReader pipes, std::chrono::milliseconds patience)
    : target_(std::move(target)) {
    ResolvedPath place;
    if (resolve(target_, place, error_)) {
        // Standard output or error shares the stream's offset: what the program writes follows on.
        const int console = !place.node                         ? -1
                            : sameFile(place.st, STDOUT_FILENO) ? STDOUT_FILENO
                            : sameFile(place.st, STDERR_FILENO) ? STDERR_FILENO
                                                                : -1;
        if (console >= 0)
            fd_ = ::fcntl(console, F_DUPFD_CLOEXEC, 0);
        else if (place.node && (S_ISDIR(place.st.st_mode) || S_ISSOCK(place.st.st_mode)))
            error_ = refusal(place.st);
        else if (place.node && !S_ISREG(place.st.st_mode))
            openStraight(place, pipes);
        else
            openTemporary(place);
    }
    if (fd_ < 0 && error_.empty())
        error_ = systemMessage(errno);
    const bool bounded = pipes == PipeReader::Required && temporary_.empty();
    buffer_ = std::make_unique<Buffer>(fd_, bounded ? std::optional(patience) : std::nullopt);
    stream_ = std::make_unique<std::ostream>(ok() ? buffer_.get() : nullptr);
}

// A pipe or a device: opened where the resolution found it, and checked to be that same one.
void AtomicFile::openStraight(const ResolvedPath& place, PipeReader pipes) {
    const bool nonBlocking = pipes == PipeReader::Required;
    const int follow = place.throughLink ? 0 : O_NOFOLLOW;
    fd_ = ::openat(place.folder.get(), place.name.c_str(),
                   O_WRONLY | O_CLOEXEC | O_NOCTTY | follow | (nonBlocking ? O_NONBLOCK : 0));
    if (fd_ < 0 && errno == ENXIO && S_ISFIFO(place.st.st_mode)) {
        error_ = "it is a named pipe that nothing reads from";
    } else if (fd_ >= 0 && !sameFile(place.st, fd_)) {
        ::close(fd_);
        fd_ = -1;
        error_ = "it was replaced while it was being opened";
    }
}

// A temporary file in the folder the resolution ended in, its name short enough for any name
// the folder takes: a dot, the file's name (cut when needed), a dot and six random characters.
void AtomicFile::openTemporary(const ResolvedPath& place) {
    const long longest = ::fpathconf(place.folder.get(), _PC_NAME_MAX);
    const std::size_t room =
        static_cast<std::size_t>(longest > 8 && longest < NAME_MAX ? longest : NAME_MAX) - 8;
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        std::string name = ".";
        name += place.name.substr(0, room);
        name += '.';
        for (int i = 0; i < 6; ++i)
            name += letters[pick(random)];
        fd_ = ::openat(place.folder.get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                       0600);
        if (fd_ >= 0)
            tempName_ = name;
        else if (errno != EEXIST)
            return;
    }
    if (fd_ < 0)
        return;
    temporary_ = joined(place.folderPath, tempName_);
    name_ = place.name;
    folder_ = ::fcntl(place.folder.get(), F_DUPFD_CLOEXEC, 0);
    replaces_ = bool(place.node);
    mode_ = replaces_ ? (place.st.st_mode & 07777) : newFileMode();
    uid_ = place.st.st_uid;
    gid_ = place.st.st_gid;
}

// The replaced file's owner (for root) and mode, given once the text is in: until then the
// temporary file is the writer's alone. The owner first, as a change of owner clears set-id bits.
void AtomicFile::giveOwnerAndMode() {
    if (replaces_ && ::geteuid() == 0 && ::fchown(fd_, uid_, gid_) != 0) {
        // the owner is kept where it can be; the file is written all the same
    }
    ::fchmod(fd_, mode_);
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!tempName_.empty() && !committed_)
        ::unlinkat(folder_, tempName_.c_str(), 0);
    if (folder_ >= 0)
        ::close(folder_);
}

bool AtomicFile::readerGone() const {
    return readerGone_ || (buffer_ && buffer_->error() == EPIPE);
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
    if (error == 0 && !temporary_.empty()) {
        giveOwnerAndMode();
        if (::fsync(fd_) != 0)
            error = errno;
    }
    if (::close(fd_) != 0 && error == 0)
        error = errno;
    fd_ = -1;
    if (error != 0) {
        readerGone_ = error == EPIPE;
        error_ = writeFailure(error, buffer_->patience());
    }
    finished_ = true;
    return error_;
}

std::string AtomicFile::commit() {
    if (const std::string reason = finish(); !reason.empty())
        return reason;
    if (temporary_.empty() || committed_)
        return {};
    if (::renameat(folder_, tempName_.c_str(), folder_, name_.c_str()) != 0)
        return error_ = systemMessage(errno);
    committed_ = true;
    return {};
}

int openFolderForWriting(const std::string& path, std::string& error) {
    ResolvedPath place;
    if (!resolve(path, place, error, Ends::AtMadeFolder))
        return -1;
    const int fd = ::openat(place.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        error = systemMessage(errno);
    return fd;
}

std::optional<std::string> nameInFolder(const std::string& path, const std::string& folder) {
    ResolvedPath file, found;
    std::string error;
    struct stat a {};
    struct stat b {};
    if (!resolve(path, file, error) || file.throughLink || !resolve(folder, found, error, Ends::AtFolder) ||
        ::fstat(file.folder.get(), &a) != 0 || ::fstat(found.folder.get(), &b) != 0 || !sameInode(a, b))
        return std::nullopt;
    return file.name;
}

std::string replaceFileText(const std::string& path, std::string_view text) {
    AtomicFile file(path, AtomicFile::PipeReader::Required);
    if (!file.ok())
        return file.error();
    file.stream().write(text.data(), static_cast<std::streamsize>(text.size()));
    return file.commit();
}

bool sameTarget(const std::string& a, const std::string& b) {
    ResolvedPath first, second;
    std::string error;
    if (!resolve(a, first, error) || !resolve(b, second, error) || bool(first.node) != bool(second.node))
        return false;
    if (first.node)
        return S_ISREG(first.st.st_mode) && sameInode(first.st, second.st);
    struct stat folderA {
    }, folderB{};
    return first.name == second.name && ::fstat(first.folder.get(), &folderA) == 0 &&
           ::fstat(second.folder.get(), &folderB) == 0 && sameInode(folderA, folderB);
}

} // namespace bx

#include "atomicfile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace bx {
namespace {

bool writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

std::string replaceFileText(const std::string& path, std::string_view text) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::random_device entropy;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(entropy()));
        std::string name = ".";
        name += target.filename().string();
        name += suffix;
        temp = (folder / name).string();
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return std::generic_category().message(errno);

    // A file that is replaced keeps its permissions.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        ::fchmod(fd, st.st_mode & 07777);

    std::string reason;
    if (!writeAll(fd, text) || ::fsync(fd) != 0)
        reason = std::generic_category().message(errno);
    if (::close(fd) != 0 && reason.empty())
        reason = std::generic_category().message(errno);
    if (reason.empty() && ::rename(temp.c_str(), path.c_str()) != 0)
        reason = std::generic_category().message(errno);
    if (!reason.empty())
        ::unlink(temp.c_str());
    return reason;
}

} // namespace bx

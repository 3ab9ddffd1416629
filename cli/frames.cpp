#include "frames.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <regex>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "cli/outputs.h"
#include "options/atomicfile.h"
#include "record/worldpicture.h"
#include "text/numbers.h"

namespace bx::cli {
namespace {

namespace fs = std::filesystem;

// The frames in an open folder: regular files named like a frame (a folder or a link of that
// name is no frame of ours). Throws naming the folder when it cannot be listed.
std::vector<std::string> framesIn(int folder, const std::string& path) {
    DIR* listing = ::fdopendir(::fcntl(folder, F_DUPFD_CLOEXEC, 0));
    if (!listing)
        throw std::runtime_error(cannotWrite(path, std::generic_category().message(errno)));
    std::vector<std::string> frames;
    errno = 0;
    while (const dirent* entry = ::readdir(listing)) {
        struct stat st {};
        if (isFrameName(entry->d_name) && ::fstatat(folder, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode))
            frames.emplace_back(entry->d_name);
        errno = 0;
    }
    const int error = errno;
    ::closedir(listing);
    if (error != 0)
        throw std::runtime_error(cannotWrite(path, std::generic_category().message(error)));
    return frames;
}

} // namespace

std::string frameName(int64_t number) {
    return "frame-" + formatInteger(number, 6) + ".png";
}

bool isFrameName(const std::string& name) {
    static const std::regex frame("frame-[0-9]{6,}\\.png");
    return std::regex_match(name, frame);
}

FrameWriter::FrameWriter(std::string folder, int64_t every, int squareSize, bool overwrite,
                         Interruption& interruption)
    : folder_(std::move(folder)), every_(every), squareSize_(squareSize), interruption_(interruption) {
    // Opened, and so checked, before anything in it is listed or removed: its frames are removed
    // through that open folder, never through a path that could lead elsewhere meanwhile.
    std::string error;
    const int opened = openFolderForWriting(folder_, error);
    if (opened < 0)
        throw std::runtime_error(cannotWrite(folder_, error));
    const struct Closing {
        int fd;
        ~Closing() { ::close(fd); }
    } closing{opened};
    const std::vector<std::string> frames = framesIn(opened, folder_);
    if (frames.empty())
        return;
    if (!overwrite)
        throw std::runtime_error("'" + folder_ +
                                 "' holds frames already; give --overwrite-frames to replace them");
    for (const std::string& frame : frames)
        if (::unlinkat(opened, frame.c_str(), 0) != 0 && errno != ENOENT)
            throw std::runtime_error(
                cannotWrite((fs::path(folder_) / frame).string(), std::generic_category().message(errno)));
}

void FrameWriter::generationEnded(int64_t generation, const WorldState& world,
                                  const SimulationOptions& options) {
    if (generation % every_ != 0)
        return;
    const std::string path = (fs::path(folder_) / frameName(generation / every_)).string();
    AtomicFile file(path);
    if (!file.ok())
        throw std::runtime_error(cannotWrite(path, file.error()));
    interruption_.removeOnAbort(file);
    writeWorldPng(file.stream(), world, options.gridSizeX, options.gridSizeY, squareSize_);
    const std::string reason = file.commit();
    interruption_.keep(file);
    if (!reason.empty())
        throw std::runtime_error(cannotWrite(path, reason));
    ++written_;
}

} // namespace bx::cli

#include "outputs.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

namespace bx::cli {

std::string cannotWrite(const std::string& target, const std::string& reason) {
    return "cannot write '" + target + "': " + reason;
}

RunOutputs::RunOutputs(const std::optional<std::string>& stats, const std::optional<std::string>& png,
                       const std::optional<std::string>& save, Interruption& interruption)
    : interruption_(interruption) {
    stats_ = stats != "-" ? open(stats) : nullptr;
    png_ = open(png);
    save_ = open(save);
}

RunOutputs::~RunOutputs() {
    for (const auto& f : files_)
        interruption_.keep(*f);
}

AtomicFile* RunOutputs::open(const std::optional<std::string>& path) {
    if (!path)
        return nullptr;
    auto file = std::make_unique<AtomicFile>(*path, AtomicFile::PipeReader::Wait);
    if (!file->ok())
        throw std::runtime_error(cannotWrite(*path, file->error()));
    interruption_.removeOnAbort(*file);
    files_.push_back(std::move(file));
    return files_.back().get();
}

std::vector<std::string> RunOutputs::commit() {
    std::vector<std::string> readerGone;
    for (const auto& f : files_)
        if (const std::string reason = f->finish(); !reason.empty() && !f->readerGone())
            throw std::runtime_error(cannotWrite(f->target(), reason));
        else if (f->readerGone())
            readerGone.push_back(f->target());
    std::string written;
    for (const auto& f : files_) {
        if (f->readerGone())
            continue;
        if (const std::string reason = f->commit(); !reason.empty())
            throw std::runtime_error(cannotWrite(f->target(), reason) +
                                     (written.empty() ? "" : " (written: " + written + ")"));
        written += (written.empty() ? "" : ", ") + f->target();
    }
    return readerGone;
}

bool standardOutputClosed() {
    pollfd out{STDOUT_FILENO, POLLOUT, 0};
    return ::poll(&out, 1, 0) == 1 && (out.revents & POLLERR) != 0;
}

bool isStandardOutput(const std::optional<std::string>& path) {
    if (!path)
        return false;
    struct stat target {};
    struct stat out {};
    return *path == "-" || (::stat(path->c_str(), &target) == 0 && ::fstat(STDOUT_FILENO, &out) == 0 &&
                            target.st_dev == out.st_dev && target.st_ino == out.st_ino);
}

} // namespace bx::cli

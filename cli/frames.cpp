#include "frames.h"

#include <filesystem>
#include <regex>
#include <stdexcept>
#include <system_error>

#include "cli/outputs.h"
#include "options/atomicfile.h"
#include "record/worldpicture.h"
#include "text/numbers.h"

namespace bx::cli {
namespace {

namespace fs = std::filesystem;

// A regular file named like a frame; a folder or a link of that name is no frame of ours.
bool isFrame(const fs::directory_entry& entry) {
    static const std::regex name("frame-[0-9]{6,}\\.png");
    std::error_code error;
    return entry.symlink_status(error).type() == fs::file_type::regular &&
           std::regex_match(entry.path().filename().string(), name);
}

} // namespace

std::string frameName(int64_t number) {
    return "frame-" + formatInteger(number, 6) + ".png";
}

FrameWriter::FrameWriter(std::string folder, int64_t every, int squareSize, bool overwrite,
                         Interruption& interruption)
    : folder_(std::move(folder)), every_(every), squareSize_(squareSize), interruption_(interruption) {
    std::error_code error;
    fs::create_directories(folder_, error);
    if (!fs::is_directory(folder_, error))
        throw std::runtime_error(cannotWrite(folder_, error ? error.message() : "it is not a folder"));
    std::vector<fs::path> frames;
    for (const auto& entry : fs::directory_iterator(folder_, error))
        if (isFrame(entry))
            frames.push_back(entry.path());
    if (error)
        throw std::runtime_error(cannotWrite(folder_, error.message()));
    if (frames.empty())
        return;
    if (!overwrite)
        throw std::runtime_error("'" + folder_ +
                                 "' holds frames already; give --overwrite-frames to replace them");
    for (const fs::path& frame : frames)
        if (!fs::remove(frame, error) && error)
            throw std::runtime_error(cannotWrite(frame.string(), error.message()));
}

void FrameWriter::generationEnded(int64_t generation, const WorldState& world,
                                  const SimulationOptions& options) {
    if (generation % every_ != 0)
        return;
    const std::string path = (fs::path(folder_) / frameName(generation / every_)).string();
    AtomicFile file(path);
    if (!file.ok())
        throw std::runtime_error(cannotWrite(path, file.error()));
    interruption_.removeOnAbort(file.temporaryPath());
    writeWorldPng(file.stream(), world, options.gridSizeX, options.gridSizeY, squareSize_);
    const std::string reason = file.commit();
    interruption_.keep(file.temporaryPath());
    if (!reason.empty())
        throw std::runtime_error(cannotWrite(path, reason));
    ++written_;
}

} // namespace bx::cli

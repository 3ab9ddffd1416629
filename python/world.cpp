#include "world.h"

#include <sstream>
#include <stdexcept>

#include "options/optionfields.h"
#include "options/profilefile.h"
#include "record/worldpicture.h"

namespace bx::py {

void WorldHost::showCounters(int32_t generation, int32_t organisms, int32_t environments) {
    RunnerHost::showCounters(generation, organisms, environments);
    organisms_ = organisms;
    environments_ = environments;
}

World::World(std::optional<uint64_t> seed, const Settings& settings,
             const std::optional<std::string>& profilePath)
    : seed_(seed), rng_(seed),
      host_(
          options_, world_, [this](const GenerationStats& row) { rows_.push_back(row); }, true),
      sim_(options_, world_, rng_, host_, canvas_) {
    if (std::optional<std::string> error = refusedSetting(settings))
        throw std::invalid_argument(*error);
    sim_.restoreDefaults("bramblex.hlp");
    cli::RunStart start;
    start.profilePath = profilePath;
    start.adjustOptions = [&settings](SimulationOptions& o) { applySettings(o, settings); };
    start.onProfileVersion = [this](const std::string& version) { savedVersion_ = version; };
    cli::startWorld(sim_, host_, start);
}

bool World::run(int64_t generations, const std::function<bool()>& stopRequested) {
    return cli::runGenerations(sim_, host_, host_.generationsEnded() + generations, stopRequested);
}

std::string World::statsCsv() const {
    std::string text = statsCsvHeader() + '\n';
    for (const GenerationStats& row : rows_)
        text += statsCsvRow(row) + '\n';
    return text;
}

std::string World::picturePng(int squareSize) const {
    std::ostringstream png;
    writeWorldPng(png, world_, options_.gridSizeX, options_.gridSizeY, squareSize);
    return std::move(png).str();
}

std::string World::save(const std::string& path) const {
    return writeProfile(path, options_, world_);
}

} // namespace bx::py

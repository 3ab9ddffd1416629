#include "world.h"

#include "options/optionfields.h"
#include "options/profile.h"
#include "record/imagecanvas.h"
#include "record/worldpicture.h"

namespace bx::web {

World::World(uint64_t seed, const Settings& settings, std::optional<Profile> profile)
    : seed_(seed), rng_(seed),
      host_(
          options_, world_, [this](const GenerationStats& row) { rows_.push_back(row); }, true),
      sim_(options_, world_, rng_, host_, canvas_) {
    sim_.restoreDefaults("bramblex.hlp");
    cli::RunStart start;
    start.adjustOptions = [&settings](SimulationOptions& o) { applySettings(o, settings); };
    start.onProfileVersion = [this](const std::string& version) { savedVersion_ = version; };
    if (profile)
        cli::startProfile(sim_, host_, std::move(*profile), start);
    else
        cli::startWorld(sim_, host_, start);
}

void World::run(int64_t generations) {
    cli::runGenerations(sim_, host_, host_.generationsEnded() + generations, {});
}

std::string World::statsCsv() const {
    std::string text = statsCsvHeader() + '\n';
    for (const GenerationStats& row : rows_)
        text += statsCsvRow(row) + '\n';
    return text;
}

std::string World::profile(std::string& problem) const {
    return writableProfileText(options_, world_, problem);
}

const std::vector<uint8_t>& World::paint(int squareSize, bool showOrganisms, bool showEnvironment) {
    const int columns = options_.gridSizeX;
    const int rows = options_.gridSizeY;
    ImageCanvas canvas(columns * squareSize, rows * squareSize);
    paintWorldRows(canvas, world_, columns, 1, rows, squareSize, showOrganisms, showEnvironment);
    const std::vector<uint8_t>& rgb = canvas.pixels();
    pixels_.resize(rgb.size() / 3 * 4);
    for (std::size_t p = 0, q = 0; p < rgb.size(); p += 3, q += 4) {
        pixels_[q] = rgb[p];
        pixels_[q + 1] = rgb[p + 1];
        pixels_[q + 2] = rgb[p + 2];
        pixels_[q + 3] = 255;
    }
    return pixels_;
}

Readout World::inspect(int x, int y, int squareSize) const {
    return inspectSquare(x, y, squareSize, options_.gridSizeX, options_.gridSizeY, world_.orgGrid,
                         world_.envGrid);
}

} // namespace bx::web

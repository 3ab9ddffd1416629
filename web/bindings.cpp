// The page's view of the engine (embind): a World made from a seed and settings or from a
// profile's text, and the option table. Failures come back as message text, never as exceptions,
// so the page shows the simulator's own words (the build has no exceptions).
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <memory>
#include <sstream>
#include <string>

#include "engine/options.h"
#include "options/optionfields.h"
#include "options/validation.h"
#include "text/numbers.h"
#include "web/world.h"

using emscripten::val;

namespace {

// "name=text" lines, as the page's form and its links hold them.
bx::web::Settings settingsOf(const std::string& lines) {
    bx::web::Settings settings;
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);)
        if (const std::size_t eq = line.find('='); eq != std::string::npos)
            settings.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    return settings;
}

val triple(int a, int b, int c) {
    val out = val::array();
    out.set(0, a);
    out.set(1, b);
    out.set(2, c);
    return out;
}

class Page {
public:
    // A new world, or a profile continued: "" when made, else the message (and the world before stays).
    std::string create(const std::string& seed, const std::string& settings) {
        return make(seed, settings, std::nullopt, "");
    }
    std::string load(const std::string& text, const std::string& name, const std::string& seed,
                     const std::string& settings) {
        return make(seed, settings, text, name);
    }

    void run(int generations) { world_->run(generations); }
    double generation() const { return world_->state().generation; }
    double generationsRun() const { return static_cast<double>(world_->generationsRun()); }
    int organisms() const { return world_->organisms(); }
    int environments() const { return world_->environments(); }
    int gridSizeX() const { return world_->options().gridSizeX; }
    int gridSizeY() const { return world_->options().gridSizeY; }
    std::string seed() const { return std::to_string(world_->seed()); }
    std::string savedVersion() const { return world_->savedVersion(); }
    std::string version() const { return world_->options().versionString; }
    std::string statsCsv() const { return world_->statsCsv(); }

    // Every option's text as --set takes it, one "name=text" line each.
    std::string options() const {
        std::string lines;
        for (const bx::OptionField& f : bx::optionFields())
            lines += std::string(f.name) + "=" + bx::optionText(world_->options(), f) + "\n";
        return lines;
    }
    // The profile text, or "" with the reason in problem().
    std::string profile() { return world_->profile(problem_); }
    std::string problem() const { return problem_; }

    // Organism and environment counts of the generations from `from` on, pairs in one array.
    val counts(int from) const {
        const auto& rows = world_->rows();
        val out = val::array();
        for (std::size_t i = static_cast<std::size_t>(from), k = 0; i < rows.size(); ++i) {
            out.set(k++, rows[i].organisms);
            out.set(k++, rows[i].environments);
        }
        return out;
    }

    // RGBA pixels over the module's memory: valid until the next call into it.
    val paint(int squareSize, bool showOrganisms, bool showEnvironment) {
        const std::vector<uint8_t>& pixels = world_->paint(squareSize, showOrganisms, showEnvironment);
        return val(emscripten::typed_memory_view(pixels.size(), pixels.data()));
    }

    val readout(int x, int y, int squareSize) const {
        const bx::Readout r = world_->inspect(x, y, squareSize);
        val out = val::object();
        out.set("column", r.column);
        out.set("row", r.row);
        out.set("organism", triple(r.orgRed, r.orgGreen, r.orgBlue));
        out.set("environment", triple(r.envRed, r.envGreen, r.envBlue));
        return out;
    }

private:
    std::string make(const std::string& seedText, const std::string& settings,
                     const std::optional<std::string>& text, const std::string& name) {
        const std::optional<uint64_t> seed = bx::parseUnsigned(seedText);
        if (!seed)
            return "the seed must be a whole number 0..18446744073709551615, not '" + seedText + "'";
        const bx::web::Settings parsed = settingsOf(settings);
        if (std::optional<std::string> error = bx::web::refusedSetting(parsed))
            return *error;
        std::optional<bx::Profile> profile;
        if (text) {
            std::string error;
            if (!(profile = bx::parseProfileText(*text, name, error)))
                return error;
        }
        world_ = std::make_unique<bx::web::World>(*seed, parsed, std::move(profile));
        return "";
    }

    std::unique_ptr<bx::web::World> world_;
    std::string problem_;
};

const char* kindName(bx::OptionKind kind) {
    switch (kind) {
    case bx::OptionKind::Integer:
        return "integer";
    case bx::OptionKind::Flag:
        return "flag";
    case bx::OptionKind::Colour:
        break;
    }
    return "colour";
}

// The option table as the page's form is built from it.
val optionTable() {
    const bx::SimulationOptions defaults;
    val table = val::array();
    int i = 0;
    for (const bx::OptionField& f : bx::optionFields()) {
        val row = val::object();
        row.set("name", std::string(f.name));
        row.set("kind", std::string(kindName(f.kind)));
        row.set("minimum", f.minimum);
        row.set("maximum", f.maximum);
        row.set("default", bx::optionText(defaults, f));
        row.set("range", bx::optionRangeText(f));
        row.set("description", std::string(f.description));
        row.set("box", f.control.hasNumberBox() ? std::string(f.control.objectName) : std::string());
        table.set(i++, row);
    }
    return table;
}

// The message --set gives for name=text, or "".
std::string settingProblem(const std::string& name, const std::string& text) {
    bx::SimulationOptions scratch;
    return bx::setOptionFromText(scratch, name, text).value_or("");
}

// A number box's text after the options window's silent corrections, against the form's
// current settings (the value a box falls back to) and the screen's size in pixels.
std::string correctedBox(const std::string& name, const std::string& text, const std::string& settings,
                         int screenWidth, int screenHeight) {
    const bx::OptionField* field = bx::findOptionField(name);
    if (!field)
        return text;
    bx::SimulationOptions stored;
    for (const auto& [n, t] : settingsOf(settings))
        bx::setOptionFromText(stored, n, t);
    return bx::validateText(*field, text, stored, screenWidth, screenHeight).text;
}

} // namespace

EMSCRIPTEN_BINDINGS(bramblex) {
    emscripten::class_<Page>("Page")
        .constructor<>()
        .function("create", &Page::create)
        .function("load", &Page::load)
        .function("run", &Page::run)
        .function("generation", &Page::generation)
        .function("generationsRun", &Page::generationsRun)
        .function("organisms", &Page::organisms)
        .function("environments", &Page::environments)
        .function("gridSizeX", &Page::gridSizeX)
        .function("gridSizeY", &Page::gridSizeY)
        .function("seed", &Page::seed)
        .function("savedVersion", &Page::savedVersion)
        .function("version", &Page::version)
        .function("statsCsv", &Page::statsCsv)
        .function("options", &Page::options)
        .function("profile", &Page::profile)
        .function("problem", &Page::problem)
        .function("counts", &Page::counts)
        .function("paint", &Page::paint)
        .function("readout", &Page::readout);
    emscripten::function("optionTable", &optionTable);
    emscripten::function("settingProblem", &settingProblem);
    emscripten::function("correctedBox", &correctedBox);
}

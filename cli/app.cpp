#include "app.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <stdexcept>

#include "cli/arguments.h"
#include "cli/outputfile.h"
#include "cli/progressbar.h"
#include "cli/runner.h"
#include "cli/worldpicture.h"
#include "engine/options.h"
#include "engine/random.h"
#include "engine/worldstate.h"
#include "options/optionfields.h"
#include "options/profile.h"

namespace bx::cli {
namespace {

constexpr const char* programName = "bramblex-run";

void applySettings(SimulationOptions& options, const std::vector<OptionSetting>& settings) {
    for (const OptionSetting& s : settings)
        if (const std::optional<std::string> error = setOptionFromText(options, s.name, s.value))
            throw std::logic_error(*error); // parseArguments checked every setting already
}

// The saved version named by the version question ("... version of Bramblex: 2.0\r...").
std::string versionInQuestion(const Question& q) {
    const std::string marker = "version of Bramblex: ";
    const std::size_t from = q.text.find(marker);
    if (from == std::string::npos)
        return "?";
    const std::size_t start = from + marker.size();
    return q.text.substr(start, q.text.find('\r', start) - start);
}

void warnOfVersion(const Console& console, const std::string& path, const std::string& saved,
                   const std::string& ours) {
    if (saved != ours)
        console.err << programName << ": warning: " << path << " was saved by Bramblex " << saved
                    << ", this is " << ours << "; loading it anyway\n";
}

// Profiles do not store blendOnOvertake: whoever loads one runs with their own setting.
void warnOfUnstoredBlending(const Console& console, const std::string& path, const SimulationOptions& options) {
    if (options.blendOnOvertake != SimulationOptions{}.blendOnOvertake)
        console.err << programName << ": warning: " << path << " does not keep blendOnOvertake="
                    << (options.blendOnOvertake ? "true" : "false")
                    << ": profiles do not store it, so whatever loads the file uses its own setting (true by"
                       " default)\n";
}

std::string summaryLine(const RunSummary& summary, const GenerationStats& last, double seconds) {
    char timing[96];
    std::snprintf(timing, sizeof timing, "%.3f s", seconds);
    std::string line = std::to_string(summary.generations) + " generations, " +
                       std::to_string(summary.resets) + " resets, " + timing;
    if (summary.generations > 0)
        line += "; last generation: " + std::to_string(last.organisms) + " organisms, " +
                std::to_string(last.environments) + " environments";
    return line;
}

int run(const RunConfig& config, const std::string& programFolder, const Console& console) {
    SimulationOptions options;
    WorldState world;
    setDefaultOptions(options, world, simulatorMajorVersion, simulatorMinorVersion,
                      programFolder + "/bramblex.hlp");
    if (config.optionsFromPath) {
        std::string error;
        const std::optional<Profile> profile = parseProfile(*config.optionsFromPath, error);
        if (!profile)
            throw std::runtime_error(error);
        warnOfVersion(console, *config.optionsFromPath, profile->version, options.versionString);
        options = optionsOfProfile(*profile, options);
    }

    // Both outputs are opened before the run, so an unwritable target fails at once.
    const bool statsToStdout = config.statsPath == "-";
    std::optional<OutputFile> statsFile;
    std::optional<OutputFile> pngFile;
    if (config.statsPath && !statsToStdout)
        statsFile.emplace(*config.statsPath);
    if (config.pngPath)
        pngFile.emplace(*config.pngPath);
    std::ostream* stats = statsToStdout ? &console.out : statsFile ? &statsFile->stream() : nullptr;
    if (stats)
        *stats << statsCsvHeader() << '\n';

    std::optional<ProgressBar> bar;
    if (console.errIsTerminal && config.generations > 0)
        bar.emplace(console.err, config.generations);

    RandomGenerator rng(config.seed);
    GenerationStats last;
    const auto onGeneration = [&](const GenerationStats& s) {
        last = s;
        if (stats)
            *stats << statsCsvRow(s) << '\n';
        if (bar)
            bar->update(s.generation, ProgressBar::Clock::now());
    };
    const auto started = std::chrono::steady_clock::now();
    RunSummary summary;
    try {
        RunStart start;
        start.profilePath = config.profilePath;
        start.adjustOptions = [&config](SimulationOptions& o) { applySettings(o, config.settings); };
        start.onQuestion = [&](const Question& q) {
            if (q.helpContext == help::profileVersion)
                warnOfVersion(console, *config.profilePath, versionInQuestion(q), options.versionString);
        };
        summary = runWorld(options, world, rng, config.generations, onGeneration, stats != nullptr, start);
    } catch (...) {
        if (bar)
            bar->finish();
        throw;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    if (bar)
        bar->finish();

    if (pngFile) {
        writeWorldPng(pngFile->stream(), world, options.gridSizeX, options.gridSizeY, config.squareSize);
        pngFile->commit();
    }
    if (statsFile)
        statsFile->commit();
    if (config.savePath) {
        if (const std::string error = writeProfile(*config.savePath, options, world); !error.empty())
            throw std::runtime_error(error);
        warnOfUnstoredBlending(console, *config.savePath, options);
    }
    if (!statsToStdout)
        console.out << summaryLine(summary, last, elapsed.count()) << '\n';
    console.out.flush();
    if (!console.out)
        throw std::runtime_error("cannot write to standard output");
    return 0;
}

} // namespace

int runCommandLine(std::span<const std::string> args, const std::string& programFolder,
                   const Console& console) {
    RunConfig config;
    try {
        config = parseArguments(args);
    } catch (const ArgumentError& e) {
        console.err << programName << ": " << e.what() << '\n'
                    << "Try '" << programName << " --help' for usage.\n";
        return 2;
    }
    if (config.showHelp) {
        console.out << usageText();
        return 0;
    }
    try {
        return run(config, programFolder, console);
    } catch (const std::exception& e) {
        console.err << programName << ": " << e.what() << '\n';
        return 1;
    }
}

} // namespace bx::cli

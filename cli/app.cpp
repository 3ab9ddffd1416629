#include "app.h"

#include <array>
#include <chrono>
#include <optional>
#include <stdexcept>

#include "cli/arguments.h"
#include "cli/frames.h"
#include "cli/interruption.h"
#include "cli/outputs.h"
#include "cli/progressbar.h"
#include "cli/runner.h"
#include "engine/options.h"
#include "engine/random.h"
#include "engine/worldstate.h"
#include "options/atomicfile.h"
#include "options/optionfields.h"
#include "options/profile.h"
#include "options/profilefile.h"
#include "record/worldpicture.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace bx::cli {
namespace {

constexpr const char* programName = "bramblex-run";

void applySettings(SimulationOptions& options, const std::vector<OptionSetting>& settings) {
    for (const OptionSetting& s : settings)
        if (const std::optional<std::string> error = setOptionFromText(options, s.name, s.value))
            throw std::logic_error(*error); // parseArguments checked every setting already
}

void warnOfVersion(const Console& console, const std::string& path, const std::string& saved,
                   const std::string& ours) {
    if (saved != ours)
        console.err << programName << ": warning: " << printableText(path) << " was saved by Bramblex "
                    << printableText(saved) << ", this is " << ours << "; loading it anyway\n";
}

// Profiles do not store blendOnOvertake: whoever loads one runs with their own setting.
void warnOfUnstoredBlending(const Console& console, const std::string& path,
                            const SimulationOptions& options) {
    if (options.blendOnOvertake != SimulationOptions{}.blendOnOvertake)
        console.err << programName << ": warning: " << printableText(path)
                    << " does not keep blendOnOvertake=" << (options.blendOnOvertake ? "true" : "false")
                    << ": profiles do not store it, so whatever loads the file uses its own setting (true by"
                       " default)\n";
}

std::string summaryLine(const RunSummary& summary, const GenerationStats& last, double seconds) {
    std::string line = formatInteger(summary.generations) + " generations, " + formatInteger(summary.resets) +
                       " resets, " + formatFixed(seconds, 3) + " s";
    if (summary.generations > 0)
        line += "; last generation: " + std::to_string(last.organisms) + " organisms, " +
                std::to_string(last.environments) + " environments";
    return line;
}

SimulationOptions startingOptions(const RunConfig& config, const std::string& programFolder,
                                  const Console& console) {
    SimulationOptions options;
    setDefaultOptions(options, simulatorMajorVersion, simulatorMinorVersion, programFolder + "/bramblex.hlp");
    if (config.optionsFromPath) {
        std::string error;
        const std::optional<Profile> profile = parseProfile(*config.optionsFromPath, error);
        if (!profile)
            throw std::runtime_error(error);
        warnOfVersion(console, *config.optionsFromPath, profile->version, options.versionString);
        options = optionsOfProfile(*profile, options);
    }
    return options;
}

// Returns the outputs whose pipe lost its reader (written no more; the others are).
std::vector<std::string> writeOutputs(RunOutputs& outputs, const RunConfig& config,
                                      const SimulationOptions& options, const WorldState& world,
                                      const Console& console) {
    if (AtomicFile* png = outputs.png())
        writeWorldPng(png->stream(), world, options.gridSizeX, options.gridSizeY, config.squareSize);
    if (AtomicFile* save = outputs.save()) {
        std::string problem;
        const std::string text = writableProfileText(options, world, problem);
        if (!problem.empty())
            throw std::runtime_error(cannotWrite(save->target(), problem));
        save->stream() << text;
    }
    std::vector<std::string> readerGone = outputs.commit();
    if (config.savePath)
        warnOfUnstoredBlending(console, *config.savePath, options);
    return readerGone;
}

// The run itself, with its statistics rows and progress bar; the last generation's figures and
// the time taken go into the summary line.
struct Simulated {
    RunSummary summary;
    GenerationStats last;
    double seconds = 0;
};

Simulated simulate(const RunConfig& config, SimulationOptions& options, WorldState& world,
                   std::ostream* stats, const AtomicFile* statsFile, FrameWriter* frames,
                   Interruption& interruption, const Console& console) {
    std::optional<ProgressBar> bar;
    if (console.errIsTerminal && config.generations > 0)
        bar.emplace(console.err, config.generations);
    Simulated result;
    int64_t ended = 0; // in this run; the rows of a continued world are numbered on from its own
    const auto onGeneration = [&](const GenerationStats& s) {
        result.last = s;
        ++ended;
        if (stats) {
            *stats << statsCsvRow(s) << '\n';
            // With SIGPIPE ignored, a reader's leaving shows only as a failed write.
            if (!*stats && (statsFile ? statsFile->readerGone() : standardOutputClosed()))
                interruption.outputClosed();
        }
        if (frames)
            frames->generationEnded(ended, world, options);
        if (bar)
            bar->update(ended, ProgressBar::Clock::now());
    };
    RunStart start;
    start.profilePath = config.profilePath;
    start.adjustOptions = [&config](SimulationOptions& o) { applySettings(o, config.settings); };
    start.onProfileVersion = [&](const std::string& saved) {
        warnOfVersion(console, *config.profilePath, saved, options.versionString);
    };
    start.stopRequested = [&interruption] { return interruption.signal() != 0; };
    RandomGenerator rng(config.seed);
    const auto started = std::chrono::steady_clock::now();
    try {
        result.summary =
            runWorld(options, world, rng, config.generations, onGeneration, stats != nullptr, start);
    } catch (...) {
        if (bar)
            bar->finish();
        throw;
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (bar)
        bar->finish();
    return result;
}

int stoppedBy(const Interruption& interruption, const std::string& when, const Console& console) {
    console.err << programName << ": stopped by " << signalName(interruption.signal()) << ' ' << when << '\n';
    return 128 + interruption.signal();
}

// An output whose reader quit (SIGPIPE, or a pipe found closed at the end): named, and the run
// ends as a signal ends it.
int endedByClosedOutput(const std::vector<std::string>& outputs, bool standardOutput,
                        const RunSummary& summary, const Console& console) {
    std::string names;
    for (const std::string& path : outputs)
        names += (names.empty() ? "'" : " and '") + printableText(path) + "'";
    if (standardOutput)
        names += names.empty() ? "standard output" : " and standard output";
    console.err << programName << ": nothing reads " << (names.empty() ? "an output" : names)
                << " any more (SIGPIPE); "
                << (summary.stopped
                        ? "stopped at the end of generation " + std::to_string(summary.generations) +
                              "; the other outputs hold the run as of that generation"
                        : "the other outputs are written")
                << '\n';
    return readerGoneStatus();
}

int run(const RunConfig& config, const std::string& programFolder, const Console& console) {
    WorldState world;
    SimulationOptions options = startingOptions(config, programFolder, console);
    Interruption interruption;
    std::optional<RunOutputs> outputs;
    std::optional<FrameWriter> frames;
    try {
        outputs.emplace(config.statsPath, config.pngPath, config.savePath, interruption);
        if (config.framesFolder)
            frames.emplace(*config.framesFolder, config.frameEvery, config.squareSize, config.overwriteFrames,
                           interruption);
    } catch (const std::runtime_error&) {
        if (interruption.signal() == 0)
            throw;
        return stoppedBy(interruption, "before the run", console);
    }
    std::ostream* stats = config.statsPath == "-" ? &console.out
                          : outputs->stats()      ? &outputs->stats()->stream()
                                                  : nullptr;
    if (stats)
        *stats << statsCsvHeader() << '\n';
    const Simulated run = simulate(config, options, world, stats, outputs->stats(),
                                   frames ? &*frames : nullptr, interruption, console);
    const std::vector<std::string> gone = writeOutputs(*outputs, config, options, world, console);

    if (!isStandardOutput(config.statsPath) && !isStandardOutput(config.pngPath) &&
        !isStandardOutput(config.savePath))
        console.out << summaryLine(run.summary, run.last, run.seconds)
                    << (frames ? "; " + std::to_string(frames->framesWritten()) + " frames in " +
                                     printableText(frames->folder())
                               : "")
                    << '\n';
    console.out.flush();
    if (interruption.readerGone() || !gone.empty())
        return endedByClosedOutput(gone, !console.out, run.summary, console);
    if (!console.out)
        throw std::runtime_error("cannot write to standard output");
    if (run.summary.stopped)
        return stoppedBy(interruption,
                         "at the end of generation " + std::to_string(run.summary.generations) +
                             "; the outputs hold the run as of that generation",
                         console);
    return 0;
}

// Two outputs that would replace one file would leave only the last one written; a frame counts.
void refuseSharedOutputs(const RunConfig& config) {
    const std::array<std::pair<const char*, const std::optional<std::string>*>, 3> outputs{
        {{"--stats", &config.statsPath}, {"--png", &config.pngPath}, {"--save", &config.savePath}}};
    for (std::size_t i = 0; i < outputs.size(); ++i)
        for (std::size_t j = i + 1; j < outputs.size(); ++j) {
            const std::optional<std::string>& a = *outputs[i].second;
            const std::optional<std::string>& b = *outputs[j].second;
            if (a && b && *a != "-" && sameTarget(*a, *b))
                throw ArgumentError(std::string(outputs[i].first) + " and " + outputs[j].first +
                                    " name the same file ('" + *a + "', '" + *b + "')");
        }
    for (const auto& [option, path] : outputs)
        if (config.framesFolder && *path && **path != "-")
            if (const std::optional<std::string> name = nameInFolder(**path, *config.framesFolder);
                name && isFrameName(*name))
                throw ArgumentError(std::string(option) + " and --frames name the same file ('" + **path +
                                    "' is a frame in '" + *config.framesFolder + "')");
}

} // namespace

int runCommandLine(std::span<const std::string> args, const std::string& programFolder,
                   const Console& console) {
    RunConfig config;
    try {
        config = parseArguments(args);
        refuseSharedOutputs(config);
    } catch (const ArgumentError& e) {
        console.err << programName << ": " << printableText(e.what()) << '\n'
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
        // Messages name files, and a file's name may hold anything: shown escaped, as file text is.
        console.err << programName << ": " << printableText(e.what()) << '\n';
        return 1;
    }
}

} // namespace bx::cli

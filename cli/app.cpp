#include "app.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "cli/arguments.h"
#include "cli/interruption.h"
#include "cli/progressbar.h"
#include "cli/runner.h"
#include "cli/worldpicture.h"
#include "engine/options.h"
#include "engine/random.h"
#include "engine/worldstate.h"
#include "options/atomicfile.h"
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

void warnOfVersion(const Console& console, const std::string& path, const std::string& saved,
                   const std::string& ours) {
    if (saved != ours)
        console.err << programName << ": warning: " << path << " was saved by Bramblex "
                    << printableText(saved) << ", this is " << ours << "; loading it anyway\n";
}

// Profiles do not store blendOnOvertake: whoever loads one runs with their own setting.
void warnOfUnstoredBlending(const Console& console, const std::string& path,
                            const SimulationOptions& options) {
    if (options.blendOnOvertake != SimulationOptions{}.blendOnOvertake)
        console.err << programName << ": warning: " << path
                    << " does not keep blendOnOvertake=" << (options.blendOnOvertake ? "true" : "false")
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

// The run's output files: opened before the first generation, so that a target that cannot be
// written fails at once, and written whole at the end (or where a signal stopped the run).
class Outputs {
public:
    Outputs(const RunConfig& config, Interruption& interruption) : interruption_(interruption) {
        if (config.statsPath && *config.statsPath != "-")
            stats_ = open(*config.statsPath);
        if (config.pngPath)
            png_ = open(*config.pngPath);
        if (config.savePath)
            save_ = open(*config.savePath);
    }
    ~Outputs() {
        for (const auto& f : files_)
            interruption_.keep(f->temporaryPath());
    }

    AtomicFile* stats() const { return stats_; }
    AtomicFile* png() const { return png_; }
    AtomicFile* save() const { return save_; }

    // Every file is written out and synced before any is renamed into place, so that a full disk
    // leaves every old file as it was. Throws naming the file that failed and the ones written.
    void commit() {
        for (const auto& f : files_)
            if (const std::string reason = f->finish(); !reason.empty())
                throw std::runtime_error(cannotWrite(*f, reason));
        std::string written;
        for (const auto& f : files_) {
            if (const std::string reason = f->commit(); !reason.empty())
                throw std::runtime_error(cannotWrite(*f, reason) +
                                         (written.empty() ? "" : " (written: " + written + ")"));
            written += (written.empty() ? "" : ", ") + f->target();
        }
    }

private:
    static std::string cannotWrite(const AtomicFile& f, const std::string& reason) {
        return "cannot write '" + f.target() + "': " + reason;
    }
    AtomicFile* open(const std::string& path) {
        auto file = std::make_unique<AtomicFile>(path, AtomicFile::PipeReader::Wait);
        if (!file->ok())
            throw std::runtime_error(cannotWrite(*file, file->error()));
        interruption_.removeOnAbort(file->temporaryPath());
        files_.push_back(std::move(file));
        return files_.back().get();
    }

    Interruption& interruption_;
    std::vector<std::unique_ptr<AtomicFile>> files_;
    AtomicFile *stats_ = nullptr, *png_ = nullptr, *save_ = nullptr;
};

// Whether path names the file standard output writes to (such as /dev/stdout).
bool isStandardOutput(const std::optional<std::string>& path) {
    struct stat target {};
    struct stat out {};
    return path &&
           (*path == "-" || (::stat(path->c_str(), &target) == 0 && ::fstat(STDOUT_FILENO, &out) == 0 &&
                             target.st_dev == out.st_dev && target.st_ino == out.st_ino));
}

SimulationOptions startingOptions(const RunConfig& config, const std::string& programFolder,
                                  WorldState& world, const Console& console) {
    SimulationOptions options;
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
    return options;
}

void writeOutputs(Outputs& outputs, const RunConfig& config, const SimulationOptions& options,
                  const WorldState& world, const Console& console) {
    if (AtomicFile* png = outputs.png())
        writeWorldPng(png->stream(), world, options.gridSizeX, options.gridSizeY, config.squareSize);
    if (AtomicFile* save = outputs.save()) {
        std::string problem;
        const std::string text = writableProfileText(options, world, problem);
        if (!problem.empty())
            throw std::runtime_error("cannot write '" + save->target() + "': " + problem);
        save->stream() << text;
    }
    outputs.commit();
    if (config.savePath)
        warnOfUnstoredBlending(console, *config.savePath, options);
}

int run(const RunConfig& config, const std::string& programFolder, const Console& console) {
    WorldState world;
    SimulationOptions options = startingOptions(config, programFolder, world, console);
    Interruption interruption;
    std::optional<Outputs> opened;
    try {
        opened.emplace(config, interruption); // a named pipe waits here for its reader
    } catch (const std::runtime_error&) {
        if (interruption.signal() == 0)
            throw;
        console.err << programName << ": stopped by " << signalName(interruption.signal())
                    << " before the run\n";
        return 128 + interruption.signal();
    }
    Outputs& outputs = *opened;
    const bool statsToStdout = config.statsPath == "-";
    std::ostream* stats = statsToStdout     ? &console.out
                          : outputs.stats() ? &outputs.stats()->stream()
                                            : nullptr;
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
        start.onProfileVersion = [&](const std::string& saved) {
            warnOfVersion(console, *config.profilePath, saved, options.versionString);
        };
        start.stopRequested = [&interruption] { return interruption.signal() != 0; };
        summary = runWorld(options, world, rng, config.generations, onGeneration, stats != nullptr, start);
    } catch (...) {
        if (bar)
            bar->finish();
        throw;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    if (bar)
        bar->finish();

    writeOutputs(outputs, config, options, world, console);
    const bool outputOnStdout = statsToStdout || isStandardOutput(config.statsPath) ||
                                isStandardOutput(config.pngPath) || isStandardOutput(config.savePath);
    if (!outputOnStdout)
        console.out << summaryLine(summary, last, elapsed.count()) << '\n';
    console.out.flush();
    if (!console.out)
        throw std::runtime_error("cannot write to standard output");
    if (summary.stopped) {
        console.err << programName << ": stopped by " << signalName(interruption.signal())
                    << " at the end of generation " << summary.generations
                    << "; the outputs hold the run as of that generation\n";
        return 128 + interruption.signal();
    }
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

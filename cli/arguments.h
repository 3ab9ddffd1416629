#pragma once
// The command line of bramblex-run: switches are rows of one table, so a new switch is one row
// and one field of RunConfig.
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace bx::cli {

// One --set NAME=VALUE, kept as text and applied in command-line order after the defaults.
struct OptionSetting {
    std::string name;
    std::string value;
    bool operator==(const OptionSetting&) const = default;
};

struct RunConfig {
    int64_t generations = 100;    // completed generations to run; 0 creates the world only
    std::optional<uint64_t> seed; // none: seeded from the clock
    std::vector<OptionSetting> settings;
    std::optional<std::string> statsPath; // "-" is standard output
    std::optional<std::string> pngPath;
    int squareSize = 8;                         // picture pixels per square edge, 1..128
    std::optional<std::string> profilePath;     // continue this saved simulation
    std::optional<std::string> optionsFromPath; // take only the options of this profile
    std::optional<std::string> savePath;        // write the final simulation as a profile
    std::optional<std::string> framesFolder;    // a picture every frameEvery generations there
    int64_t frameEvery = 1;
    bool overwriteFrames = false;
    bool showHelp = false;
};

// A command line that cannot be run; the message is one line naming the argument at fault.
class ArgumentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses the arguments after the program name. Every --set is checked against the option table
// here, so that nothing is refused once the run has started. Throws ArgumentError.
RunConfig parseArguments(std::span<const std::string> args);

// The --help text.
std::string usageText();

} // namespace bx::cli

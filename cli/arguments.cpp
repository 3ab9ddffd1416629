#include "arguments.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "engine/options.h"
#include "options/optionfields.h"
#include "text/numbers.h"

namespace bx::cli {
namespace {

constexpr int maxSquareSize = 128;

[[noreturn]] void refuse(std::string_view switchName, std::string_view expected, std::string_view text) {
    throw ArgumentError(std::string(switchName) + " needs " + std::string(expected) + ", not '" +
                        std::string(text) + "'");
}

void setGenerations(RunConfig& config, std::string_view text) {
    const std::optional<uint64_t> v = parseUnsigned(text);
    if (!v || *v > static_cast<uint64_t>(INT64_MAX))
        refuse("--generations", "a whole number 0 or more", text);
    config.generations = static_cast<int64_t>(*v);
}

void setSeed(RunConfig& config, std::string_view text) {
    const std::optional<uint64_t> v = parseUnsigned(text);
    if (!v)
        refuse("--seed", "a whole number 0..18446744073709551615", text);
    config.seed = *v;
}

void setSquareSize(RunConfig& config, std::string_view text) {
    const std::optional<uint64_t> v = parseUnsigned(text);
    if (!v || *v < 1 || *v > maxSquareSize)
        refuse("--square-size", "a whole number 1.." + formatInteger(maxSquareSize), text);
    config.squareSize = static_cast<int>(*v);
}

void addSetting(RunConfig& config, std::string_view text) {
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos || eq == 0)
        refuse("--set", "NAME=VALUE", text);
    OptionSetting setting{std::string(text.substr(0, eq)), std::string(text.substr(eq + 1))};
    SimulationOptions scratch;
    if (const std::optional<std::string> error = setOptionFromText(scratch, setting.name, setting.value))
        throw ArgumentError("--set " + std::string(text) + ": " + *error);
    config.settings.push_back(std::move(setting));
}

void setStats(RunConfig& config, std::string_view text) {
    if (text.empty())
        refuse("--stats", "a file name or -", text);
    config.statsPath = std::string(text);
}

void setPng(RunConfig& config, std::string_view text) {
    if (text.empty() || text == "-")
        refuse("--png", "a file name", text);
    config.pngPath = std::string(text);
}

void setProfile(RunConfig& config, std::string_view text) {
    if (text.empty())
        refuse("--profile", "a file name", text);
    config.profilePath = std::string(text);
}

void setOptionsFrom(RunConfig& config, std::string_view text) {
    if (text.empty())
        refuse("--options-from", "a file name", text);
    config.optionsFromPath = std::string(text);
}

void setSave(RunConfig& config, std::string_view text) {
    if (text.empty() || text == "-")
        refuse("--save", "a file name", text);
    config.savePath = std::string(text);
}

void setFrames(RunConfig& config, std::string_view text) {
    if (text.empty() || text == "-")
        refuse("--frames", "a folder name", text);
    config.framesFolder = std::string(text);
}

void setEvery(RunConfig& config, std::string_view text) {
    const std::optional<uint64_t> v = parseUnsigned(text);
    if (!v || *v < 1 || *v > static_cast<uint64_t>(INT64_MAX))
        refuse("--every", "a whole number 1 or more", text);
    config.frameEvery = static_cast<int64_t>(*v);
}

void setOverwriteFrames(RunConfig& config, std::string_view) {
    config.overwriteFrames = true;
}

void setHelp(RunConfig& config, std::string_view) {
    config.showHelp = true;
}

struct Switch {
    std::string_view name;
    std::string_view valueName; // empty: the switch takes no value
    std::string_view help;
    void (*apply)(RunConfig&, std::string_view value);
};

constexpr std::array switches{
    Switch{"--generations", "N", "completed generations to run (default 100; 0 creates the world only)",
           setGenerations},
    Switch{"--seed", "N",
           "seed the random source with N (0..2^64-1) for a reproducible run;\n"
           "without it the source is seeded from the clock",
           setSeed},
    Switch{"--set", "NAME=VALUE", "set one simulation option (repeatable; see the list below)", addSetting},
    Switch{"--stats", "FILE", "write one CSV row per finished generation to FILE (- for standard output)",
           setStats},
    Switch{"--png", "FILE", "paint the final world into a PNG picture", setPng},
    Switch{"--square-size", "K", "picture pixels per square edge, 1..128 (default 8)", setSquareSize},
    Switch{"--profile", "FILE",
           "continue the simulation saved in the profile FILE (options, counters, world)", setProfile},
    Switch{"--options-from", "FILE", "take only the options of the profile FILE and create a new world",
           setOptionsFrom},
    Switch{"--save", "FILE", "save the final simulation as a profile", setSave},
    Switch{"--frames", "DIR",
           "paint a picture every --every generations into DIR (made when missing):\n"
           "frame-000001.png, frame-000002.png, … at the --square-size of --png",
           setFrames},
    Switch{"--every", "N", "generations between two frames (default 1)", setEvery},
    Switch{"--overwrite-frames", "", "replace the frames a --frames folder holds already",
           setOverwriteFrames},
    Switch{"--help", "", "show this text and exit", setHelp},
};

const Switch* findSwitch(std::string_view name) {
    if (name == "-h")
        name = "--help";
    for (const Switch& s : switches)
        if (s.name == name)
            return &s;
    return nullptr;
}

std::string indentLines(std::string_view text, std::string_view indent) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '\n')
            out += indent;
    }
    return out;
}

// Text broken into lines of at most `width` characters after the indent, each line indented.
std::string wrapped(std::string_view text, std::string_view indent, std::size_t width) {
    std::string out;
    std::size_t lineLength = 0; // of the line at hand, without its indent; 0 before its first word
    while (!text.empty()) {
        const std::size_t blank = text.find(' ');
        const std::string_view word = text.substr(0, blank);
        if (lineLength > 0 && lineLength + 1 + word.size() > width) {
            out += '\n';
            lineLength = 0;
        }
        if (lineLength == 0) {
            out.append(indent);
        } else {
            out += ' ';
            ++lineLength;
        }
        out.append(word);
        lineLength += word.size();
        text.remove_prefix(blank == std::string_view::npos ? text.size() : blank + 1);
    }
    out += '\n';
    return out;
}

std::string optionsText() {
    constexpr std::size_t column = 26;
    const std::string indent(column, ' ');
    std::string text = "\nOptions for --set (flags take true or false, colours R,G,B):\n";
    const SimulationOptions defaults;
    const std::span<const OptionField> fields = optionFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const OptionField& f = fields[i];
        std::string line(2, ' ');
        line += f.name;
        line.resize(column, ' ');
        text += line + optionRangeText(f) + " (default " + optionText(defaults, f) + ")\n";
        // Rows that share a description (the six user colours) show it once, after the last.
        if (i + 1 == fields.size() || fields[i + 1].description != f.description)
            text += wrapped(f.description, indent, 72);
    }
    text += "A saved profile keeps the windows-only options for the simulator.\n";
    return text;
}

} // namespace

RunConfig parseArguments(std::span<const std::string> args) {
    RunConfig config;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::optional<std::string_view> attached; // the value of --name=value
        if (arg.starts_with("--")) {
            if (const std::size_t eq = arg.find('='); eq != std::string_view::npos) {
                attached = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
            }
        }
        const Switch* s = findSwitch(arg);
        if (!s) {
            if (arg.starts_with("-"))
                throw ArgumentError("unknown switch '" + std::string(arg) + "'");
            throw ArgumentError("unexpected argument '" + std::string(arg) + "'");
        }
        if (s->valueName.empty()) {
            if (attached)
                throw ArgumentError(std::string(s->name) + " takes no value");
            s->apply(config, {});
            continue;
        }
        if (attached) {
            s->apply(config, *attached);
        } else if (i + 1 < args.size() && !args[i + 1].starts_with("--")) {
            s->apply(config, args[++i]);
        } else {
            throw ArgumentError(std::string(s->name) + " needs a value (" + std::string(s->valueName) + ")");
        }
    }
    if (config.profilePath && config.optionsFromPath)
        throw ArgumentError("--profile and --options-from cannot be used together");
    if (!config.framesFolder && (config.frameEvery != 1 || config.overwriteFrames))
        throw ArgumentError("--every and --overwrite-frames go with --frames");
    return config;
}

std::string usageText() {
    std::string text = "Usage: bramblex-run [switches]\n"
                       "Runs a Bramblex world without windows: creates it (or continues a saved one),\n"
                       "runs generations, and writes statistics, a picture and a profile.\n"
                       "--set options apply after --profile or --options-from.\n\nSwitches:\n";
    for (const Switch& s : switches) {
        // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on "literal" + std::string here.
        std::string head(2, ' ');
        head += s.name;
        if (!s.valueName.empty()) {
            head += ' ';
            head += s.valueName;
        }
        head.resize(std::max<std::size_t>(head.size() + 2, 26), ' ');
        text += head + indentLines(s.help, std::string(26, ' ')) + "\n";
    }
    text +=
        "\nStatistics: CSV with the header\n"
        "  generation,organisms,environments,org_red,org_green,org_blue,env_red,env_green,env_blue,reset\n"
        "generation counts on across resets, and from the saved generation with --profile; organisms\n"
        "and environments are the visible squares holding that layer when the generation ended; the\n"
        "colour columns are mean components (4 decimals) over those squares, 0 where there are none;\n"
        "reset is 1 when the end of that generation reset a dead world.\n";
    return text + optionsText();
}

} // namespace bx::cli

#include "commandline.h"

#include <algorithm>
#include <array>

#include "engine/numeric.h"
#include "saverinstall/squaresetting.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace bx {

std::string modeLetter(const std::string& commandLine) {
    const std::string firstTwo = commandLine.substr(0, 2);
    if (firstTwo.empty())
        return {};
    return std::string(1, asciiUpper(firstTwo.back()));
}

int64_t leadingNumber(const std::string& text) {
    // Blanks, then the longest start that reads as a decimal number; the rest is ignored.
    const std::string_view blanks = " \t";
    const std::string_view rest =
        std::string_view(text).substr(std::min(text.find_first_not_of(blanks), text.size()));
    const std::optional<DecimalPrefix> number = decimalPrefix(rest);
    // A handle is 32 bits; anything beyond cannot name a window.
    if (!number || !number->inRange || number->value > 2147483647.0 || number->value < -2147483648.0)
        return 0;
    return roundToInt(number->value);
}

std::optional<int64_t> windowId(const std::string& text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string_view digits = std::string_view(text).substr(hex ? 2 : 0);
    if (digits.size() > 10)
        return std::nullopt;
    const std::optional<uint64_t> value = parseUnsigned(digits, hex ? 16 : 10);
    if (!value)
        return std::nullopt;
    return static_cast<int64_t>(*value);
}

namespace {

bool isOption(std::string_view argument, std::string_view dashedName) {
    const std::string_view name = dashedName.substr(dashedName.find_first_not_of('-'));
    const std::size_t dashes = argument.find_first_not_of('-');
    return (dashes == 1 || dashes == 2) && argument.substr(dashes) == name;
}

void fullScreen(SaverCommand& c, const SwitchContext&) {
    c.launch = SaverLaunch::FullScreen;
}
void configure(SaverCommand& c, const SwitchContext&) {
    c.launch = SaverLaunch::Configure;
}
void preview(SaverCommand& c, const SwitchContext& x) {
    c.launch = SaverLaunch::Preview;
    c.handle = leadingNumber(x.rest);
}
void password(SaverCommand& c, const SwitchContext& x) {
    c.launch = SaverLaunch::Password;
    c.handle = leadingNumber(x.rest);
}
// The host's window when a host screensaver gave one, else the root window.
void root(SaverCommand& c, const SwitchContext& x) {
    c.launch = x.hostWindow ? SaverLaunch::HostWindow : SaverLaunch::Root;
    c.handle = x.hostWindow.value_or(0);
}
// No window named: it ends on the first tick.
void namedWindow(SaverCommand& c, const SwitchContext& x) {
    c.launch = SaverLaunch::HostWindow;
    c.handle = x.at + 1 < x.arguments.size() ? windowId(x.arguments[x.at + 1]).value_or(0) : 0;
}
// Started by a host screensaver that names its window only through the variable.
void hostWindow(SaverCommand& c, const SwitchContext& x) {
    if (!x.hostWindow)
        return;
    c.launch = SaverLaunch::HostWindow;
    c.handle = *x.hostWindow;
}
void noMode(SaverCommand&, const SwitchContext&) {}
void activate(SaverCommand& c, const SwitchContext&) {
    c.launch = SaverLaunch::Activate;
}
void deactivate(SaverCommand& c, const SwitchContext&) {
    c.launch = SaverLaunch::Deactivate;
}
void help(SaverCommand& c, const SwitchContext&) {
    c.launch = SaverLaunch::Help;
}

using Form = SwitchForm;

constexpr std::string_view squareSizeSwitch = "--square-size";

// The X conventions (named) are looked for before the saver switches (letters); --help,
// --activate and --deactivate win over all.
constexpr std::array switches{
    SaverSwitch{"/s", "", "full screen; a key, a click, a wheel turn or moving the mouse ends it",
                Form::Letter, 0, false, fullScreen},
    SaverSwitch{"/c", "", "the configuration dialog (square size, with a live preview)", Form::Letter, 0,
                false, configure},
    SaverSwitch{"/p", "ID", "a preview inside the X window ID (decimal)", Form::Letter, 0, false, preview},
    SaverSwitch{"/a", "ID", "change the password (not available on Linux)", Form::Letter, 0, false, password},
    SaverSwitch{"--root", "",
                "draw into the window of a host screensaver (XSCREENSAVER_WINDOW),\n"
                "else on the desktop's background until SIGINT or SIGTERM",
                Form::Named, 2, false, root},
    SaverSwitch{"--window-id", "ID", "draw into the X window ID (decimal or 0x hex); wins over --root",
                Form::Named, 1, false, namedWindow},
    SaverSwitch{"(nothing)", "", "draw into XSCREENSAVER_WINDOW when a host screensaver set it",
                Form::Fallback, 0, false, hostWindow},
    SaverSwitch{squareSizeSwitch, "N",
                "squares of N pixels (2 to 25) for this run only; otherwise the size\n"
                "stored by the configuration dialog (6 when none is stored)",
                Form::Modifier, 0, true, noMode},
    SaverSwitch{"--activate", "",
                "make Bramblex 2 the screensaver of every host installed (xscreensaver,\n"
                "MATE, Xfce), installing this copy for the user when no saver is\n"
                "installed, and say what was set for each host",
                Form::Named, 0, true, activate},
    SaverSwitch{"--deactivate", "",
                "put back what the hosts showed before the first --activate (or the\n"
                "simulator's Activate), and remove an install that made",
                Form::Named, 0, false, deactivate},
    SaverSwitch{"--help", "", "this text", Form::Named, 0, false, help},
};

// "-square-size N" anywhere: a usable size (2 … 25) for this run; anything else is ignored.
std::optional<double> squareSizeOf(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i)
        if (isOption(arguments[i], squareSizeSwitch))
            return usableSquareSize(arguments[i + 1]);
    return std::nullopt;
}

// The first argument that is a named switch of this rank.
const SaverSwitch* namedOfRank(const std::vector<std::string>& arguments, int rank, std::size_t& at) {
    for (at = 0; at < arguments.size(); ++at)
        for (const SaverSwitch& s : switches)
            if (s.form == Form::Named && s.rank == rank && isOption(arguments[at], s.name))
                return &s;
    return nullptr;
}

// The command line the saver switches read: the arguments joined by blanks, modifiers left out.
std::string letterCommandLine(const std::vector<std::string>& arguments) {
    std::string commandLine;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const auto modifier = std::find_if(switches.begin(), switches.end(), [&](const SaverSwitch& s) {
            return s.form == Form::Modifier && isOption(arguments[i], s.name);
        });
        if (modifier != switches.end()) {
            i += modifier->valueName.empty() ? 0 : 1;
            continue;
        }
        if (!commandLine.empty())
            commandLine.push_back(' ');
        commandLine.append(arguments[i]);
    }
    return commandLine;
}

SaverCommand modeOf(const std::vector<std::string>& arguments,
                    const std::optional<std::string>& xscreensaverWindow) {
    SaverCommand command;
    SwitchContext context{
        arguments, 0, {}, xscreensaverWindow ? windowId(*xscreensaverWindow) : std::nullopt};
    int lastRank = 0;
    for (const SaverSwitch& s : switches)
        lastRank = s.form == Form::Named ? std::max(lastRank, s.rank) : lastRank;
    for (int rank = 0; rank <= lastRank; ++rank) {
        if (const SaverSwitch* named = namedOfRank(arguments, rank, context.at)) {
            named->apply(command, context);
            return command;
        }
    }
    const std::string commandLine = letterCommandLine(arguments);
    command.letter = modeLetter(commandLine);
    context.rest = commandLine.size() > 2 ? commandLine.substr(2) : std::string();
    for (const SaverSwitch& s : switches) {
        const bool applies = s.form == Form::Letter ? command.letter == modeLetter(std::string(s.name))
                                                    : s.form == Form::Fallback && commandLine.empty();
        if (applies) {
            s.apply(command, context);
            return command;
        }
    }
    return command;
}

} // namespace

std::span<const SaverSwitch> saverSwitches() {
    return switches;
}

std::string saverUsage() {
    constexpr std::size_t nameWidth = 20;
    std::string usage =
        "Usage: bramblex2-screensaver [MODE] [--square-size N]\n"
        "The Bramblex 2 screensaver: a world of coloured squares that grows, spreads and decays.\n"
        "\n"
        "Modes, as a screensaver host starts them:\n";
    for (const SaverSwitch& s : switches) {
        if (s.gapBefore)
            usage += "\n";
        std::string shown(s.name);
        if (!s.valueName.empty())
            shown.append(" ").append(s.valueName);
        shown.resize(std::max(shown.size() + 1, nameWidth), ' ');
        usage.append("  ").append(shown);
        for (const char c : s.help) {
            usage.push_back(c);
            if (c == '\n')
                usage.append(nameWidth + 2, ' ');
        }
        usage += "\n";
    }
    usage += "Single and double dashes are the same; the switches may also start with - or stand alone.\n"
             "The saver ends on SIGINT, SIGTERM or SIGHUP, and when its window is closed.\n";
    return usage;
}

SaverCommand parseSaverCommand(const std::vector<std::string>& arguments,
                               const std::optional<std::string>& xscreensaverWindow) {
    SaverCommand command = modeOf(arguments, xscreensaverWindow);
    command.squareSize = squareSizeOf(arguments);
    return command;
}

} // namespace bx

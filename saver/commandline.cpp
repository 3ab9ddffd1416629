#include "commandline.h"

#include <algorithm>

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

bool isOption(const std::string& argument, const char* name) {
    return argument == std::string("-") + name || argument == std::string("--") + name;
}

// "-square-size N" anywhere: a usable size (2 … 25) for this run; anything else is ignored.
std::optional<double> squareSizeOf(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i)
        if (isOption(arguments[i], "square-size"))
            return usableSquareSize(arguments[i + 1]);
    return std::nullopt;
}

// The mode, from the X conventions first, then the saver switches.
SaverCommand modeOf(const std::vector<std::string>& arguments,
                    const std::optional<std::string>& xscreensaverWindow) {
    SaverCommand command;
    const std::optional<int64_t> named = xscreensaverWindow ? windowId(*xscreensaverWindow) : std::nullopt;
    const bool hasHost = named.has_value();
    const int64_t hostWindow = named.value_or(0);

    // The X conventions first: "-window-id ID" names the window; "-root" means the host's window
    // when a host screensaver gave one, else the root window. Other hack options are ignored.
    for (const std::string& a : arguments) {
        const bool activate = isOption(a, "activate"), deactivate = isOption(a, "deactivate");
        if (isOption(a, "help") || activate || deactivate) {
            command.launch = activate     ? SaverLaunch::Activate
                             : deactivate ? SaverLaunch::Deactivate
                                          : SaverLaunch::Help;
            return command;
        }
    }
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (isOption(a, "window-id")) {
            command.launch = SaverLaunch::HostWindow;
            command.handle = i + 1 < arguments.size() ? windowId(arguments[i + 1]).value_or(0) : 0;
            return command;
        }
    }
    for (const std::string& a : arguments) {
        if (isOption(a, "root")) {
            command.launch = hasHost ? SaverLaunch::HostWindow : SaverLaunch::Root;
            command.handle = hostWindow;
            return command;
        }
    }

    std::string commandLine;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (isOption(a, "square-size")) { // a size for the run, not a mode
            ++i;
            continue;
        }
        if (!commandLine.empty())
            commandLine.push_back(' ');
        commandLine.append(a);
    }
    command.letter = modeLetter(commandLine);
    const std::string rest = commandLine.size() > 2 ? commandLine.substr(2) : std::string();
    if (command.letter == "S") {
        command.launch = SaverLaunch::FullScreen;
    } else if (command.letter == "C") {
        command.launch = SaverLaunch::Configure;
    } else if (command.letter == "P") {
        command.launch = SaverLaunch::Preview;
        command.handle = leadingNumber(rest);
    } else if (command.letter == "A") {
        command.launch = SaverLaunch::Password;
        command.handle = leadingNumber(rest);
    } else if (hasHost && commandLine.empty()) {
        // Started by a host screensaver that names its window only through the variable.
        command.launch = SaverLaunch::HostWindow;
        command.handle = hostWindow;
    }
    return command;
}

} // namespace

std::string saverUsage() {
    return "Usage: bramblex2-screensaver [MODE] [--square-size N]\n"
           "The Bramblex 2 screensaver: a world of coloured squares that grows, spreads and decays.\n"
           "\n"
           "Modes, as a screensaver host starts them:\n"
           "  /s                  full screen; a key, a click, a wheel turn or moving the mouse ends it\n"
           "  /c                  the configuration dialog (square size, with a live preview)\n"
           "  /p ID               a preview inside the X window ID (decimal)\n"
           "  /a ID               change the password (not available on Linux)\n"
           "  --root              draw into the window of a host screensaver (XSCREENSAVER_WINDOW),\n"
           "                      else on the desktop's background until SIGINT or SIGTERM\n"
           "  --window-id ID      draw into the X window ID (decimal or 0x hex); wins over --root\n"
           "  (nothing)           draw into XSCREENSAVER_WINDOW when a host screensaver set it\n"
           "\n"
           "  --square-size N     squares of N pixels (2 to 25) for this run only; otherwise the size\n"
           "                      stored by the configuration dialog (6 when none is stored)\n"
           "\n"
           "  --activate          make Bramblex 2 the screensaver of every host installed (xscreensaver,\n"
           "                      MATE, Xfce), installing this copy for the user when no saver is\n"
           "                      installed, and say what was set for each host\n"
           "  --deactivate        put back what the hosts showed before the first --activate (or the\n"
           "                      simulator's Activate), and remove an install that made\n"
           "  --help              this text\n"
           "Single and double dashes are the same; the switches may also start with - or stand alone.\n"
           "The saver ends on SIGINT, SIGTERM or SIGHUP, and when its window is closed.\n";
}

SaverCommand parseSaverCommand(const std::vector<std::string>& arguments,
                               const std::optional<std::string>& xscreensaverWindow) {
    SaverCommand command = modeOf(arguments, xscreensaverWindow);
    command.squareSize = squareSizeOf(arguments);
    return command;
}

} // namespace bx

#pragma once
// What the screensaver was started to do. Two conventions are read:
// - the saver switches: the letter is the second of the first two characters, upper-cased
//   ("/s", "-S", "s" → S; "/c:1234" → C), and for P and A a decimal handle follows from the
//   third character on ("/p 1234" → 1234, "/p:1234" → 0);
// - the X screensaver conventions: "-window-id ID" (decimal or 0x hex), "-root", and the
//   XSCREENSAVER_WINDOW variable a host screensaver sets for the window it wants drawn into;
//   "-square-size N" for one run's square size. Each also with two dashes.
// "--help" asks for the accepted command lines, "--activate" and "--deactivate" set the desktop's
// screensaver hosts (with one or two dashes; they win over the modes); any other argument leaves the mode to
// the switches.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace bx {

enum class SaverLaunch {
    None,       // nothing to do: the program ends with nothing shown
    FullScreen, // S
    Configure,  // C
    Preview,    // P: embedded into the host window `handle`, 6-pixel squares
    Password,   // A
    HostWindow, // draw into the X window `handle` at the stored square size
    Root,       // draw on the desktop's background, the root window (no XSCREENSAVER_WINDOW given)
    Help,       // print the accepted command lines
    Activate,   // make it the screensaver of the desktop's hosts, and say what was set
    Deactivate, // put back what the hosts showed before, and say so
};

struct SaverCommand {
    SaverLaunch launch = SaverLaunch::None;
    std::string letter; // the mode letter of the saver switches ("" for an empty command line)
    int64_t handle = 0; // preview host, password owner, or host screensaver window
    // The square size for this run (2 … 25), never stored; without it the stored one is used.
    std::optional<double> squareSize;
};

// How a switch is recognised on the command line.
enum class SwitchForm {
    Named,    // "-name" or "--name" as a whole argument; VALUE, if any, is the next argument
    Letter,   // the mode letter of the saver switches (its name's second character)
    Modifier, // a named switch that changes the run, never the mode
    Fallback, // no switch at all: the row describes what the bare command line does
};

// What a switch sees when it applies.
struct SwitchContext {
    const std::vector<std::string>& arguments;
    std::size_t at = 0;                // a named switch's argument
    std::string rest;                  // a letter: the command line from its third character
    std::optional<int64_t> hostWindow; // XSCREENSAVER_WINDOW, when it names a window
};

// One switch: its usage line and its parsing.
struct SaverSwitch {
    std::string_view name;      // as --help and the man page show it: "/s", "--root"
    std::string_view valueName; // "" when it takes none
    std::string_view help;      // lines after the first are indented under it
    SwitchForm form;
    // Named: rank 0 switches are looked for first, then 1, ...; ties go to the first argument.
    // Letter, Fallback: asked after every named switch.
    int rank;
    bool gapBefore; // a blank line before its usage line
    void (*apply)(SaverCommand& command, const SwitchContext& context);
};

// Every switch, in the order of --help.
std::span<const SaverSwitch> saverSwitches();

// What --help prints.
std::string saverUsage();

// The mode letter of a command line: the first two characters upper-cased, the last of them.
std::string modeLetter(const std::string& commandLine);
// A decimal number read from the start of text as the string-to-number conversion of the saver
// switches does: blanks skipped, reading stops at the first character that cannot continue a
// number, no number gives 0; rounded half to even.
int64_t leadingNumber(const std::string& text);
// A window id as X tools write it: decimal or 0x hex; nothing when it is neither.
std::optional<int64_t> windowId(const std::string& text);

// Reads the program's arguments (argv without the program name) and the XSCREENSAVER_WINDOW
// variable (nothing when unset).
SaverCommand parseSaverCommand(const std::vector<std::string>& arguments,
                               const std::optional<std::string>& xscreensaverWindow);

} // namespace bx

#pragma once
// The desktop's screensaver hosts and Bramblex 2 in them: whether a host can find the saver
// (installed), installing a copy of one's own for the user, and making Bramblex 2 the one every
// installed host shows (active), with what is needed to put the user's choice back.
//   xscreensaver      ~/.xscreensaver: a "programs:" entry, "mode: one", "selected:" at it;
//                     a running daemon is told to read the file again
//   MATE              GSettings org.mate.screensaver: mode 'single', themes [our theme]
//   Xfce              xfconf channel xfce4-screensaver: /saver/mode 2, /saver/themes/list
// MATE (and Xfce, its fork) start a theme only from the system's screen-hack folders, whatever
// its desktop entry says: they show the packaged saver, never a copy of one's own.
// Files are read and written here; the hosts' tools run through a CommandRunner. No Qt.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "saverinstall/commandrunner.h"

namespace bx {

// The saver beside the simulator, and its name where the package puts it for the hosts.
inline constexpr const char* screensaverProgramName = "Bramblex 2.scr";
inline constexpr const char* packagedSaverName = "bramblex2-screensaver";
// The theme MATE and Xfce know the saver by: its desktop entry's id under applications/.
inline constexpr const char* saverThemeId = "screensavers-bramblex2-screensaver";

struct HostFolders {
    std::string home;       // ~/.xscreensaver
    std::string configHome; // XDG_CONFIG_HOME: <configHome>/bramblex/screensaver-hosts keeps what to put back
    std::string dataHome;   // XDG_DATA_HOME: <dataHome>/applications/screensavers/ for a copy of one's own
    // Where the package puts the saver for xscreensaver and MATE (xscreensaver looks nowhere else).
    std::string hackFolder = "/usr/libexec/xscreensaver";
    // xscreensaver's defaults, the first that exists (Debian keeps them under /etc).
    std::vector<std::string> xscreensaverDefaults = {"/etc/X11/app-defaults/XScreenSaver",
                                                     "/usr/share/X11/app-defaults/XScreenSaver"};
};

// HOME, XDG_CONFIG_HOME (else ~/.config) and XDG_DATA_HOME (else ~/.local/share).
HostFolders hostFoldersOfEnvironment();

enum class Installation {
    None,
    Packaged, // <hackFolder>/bramblex2-screensaver
    PerUser   // the desktop entry Install wrote for this or another copy
};

// What one host was set to, for the page's messages and the saver's --activate.
struct HostReport {
    std::string host; // "xscreensaver", "MATE", "Xfce"
    bool done;
    std::string said; // what was set, or what failed
};

// The packages that bring a host, for a desktop that has none.
inline constexpr const char* hostPackagesAdvice =
    "No screensaver host is installed. Install the package xscreensaver (any X11 desktop), "
    "mate-screensaver (MATE) or xfce4-screensaver (Xfce), then activate again.";

class DesktopHosts {
public:
    // saverProgram: the full path of this copy's saver, which a per-user install names.
    DesktopHosts(HostFolders folders, CommandRunner& commands, std::string saverProgram);

    Installation installation() const;
    // The hosts found on this system, by name.
    std::vector<std::string> hosts() const;
    // Every host found shows Bramblex 2 (false when there is none, or the saver is not installed).
    bool isActive() const;

    // A copy of one's own for the user: the MATE/Xfce desktop entry, and the entry in
    // ~/.xscreensaver (made from xscreensaver's defaults when missing) where xscreensaver is
    // installed or its file exists. Nothing to do for the packaged saver. False when the saver
    // program is missing (nothing is written) or something could not be written.
    bool install();
    // Takes back what install wrote, after putting back what an activation changed.
    bool uninstall();

    // Makes Bramblex 2 the screensaver of every host found, installing this copy first when no
    // saver is installed. The user's settings before the first activation are kept for
    // deactivate(). Empty when no host is installed (nothing was changed).
    std::vector<HostReport> activate();
    // Puts back what the first activation found, and removes an install it made. Empty when
    // nothing was kept.
    std::vector<HostReport> deactivate();

    std::string statePath() const;
    std::string userEntryPath() const;
    std::string xscreensaverPath() const;

private:
    using State = std::map<std::string, std::string>;
    State readState() const;
    bool writeState(const State& state) const;
    std::string xscreensaverCommand() const;
    std::string xscreensaverText() const; // the file, else made from the defaults (or empty)
    bool writeXscreensaver(const std::string& text) const;
    bool xscreensaverSet() const;
    bool gsettingsSet() const;
    bool xfceSet() const;
    HostReport activateXscreensaver(State& state);
    HostReport activateMate(State& state);
    HostReport activateXfce(State& state);
    HostReport restoreXscreensaver(const State& state);
    HostReport restoreMate(const State& state);
    HostReport restoreXfce(const State& state);
    std::optional<std::string> output(const std::vector<std::string>& arguments) const;

    HostFolders folders_;
    CommandRunner& commands_;
    std::string saverProgram_;
};

} // namespace bx

#include "desktophosts.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "options/atomicfile.h"
#include "text/strings.h"
#include "xscreensaverfile.h"

namespace bx {
namespace fs = std::filesystem;

namespace {

constexpr const char* none = "<none>"; // a setting the host did not have
constexpr const char* mateSchema = "org.mate.screensaver";
constexpr const char* xfceChannel = "xfce4-screensaver";

std::optional<std::string> readText(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool writeText(const std::string& path, const std::string& text) {
    std::error_code error;
    fs::create_directories(fs::path(path).parent_path(), error);
    return replaceFileText(path, text).empty();
}

// A path as one word for /bin/sh, which xscreensaver runs a command with quotes through.
std::string shellQuoted(const std::string& path) {
    std::string quoted = "'";
    for (char c : path)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// A path as one quoted argument of a desktop entry's Exec, escaped as the entry's strings are.
std::string execQuoted(const std::string& path) {
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$')
            quoted += "\\\\";
        else if (c == '\\')
            quoted += "\\\\\\";
        quoted += c;
    }
    return quoted + "\"";
}

std::string entryString(const std::string& text) {
    std::string escaped;
    for (char c : text)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return escaped;
}

std::string desktopEntry(const std::string& program) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Bramblex 2\n"
           "Comment=An artificial world of coloured squares that grow, spread and decay\n"
           "TryExec=" +
           entryString(program) +
           "\n"
           "Exec=" +
           execQuoted(program) +
           " --root\n"
           "Icon=bramblex2\n"
           "StartupNotify=false\n"
           "Terminal=false\n"
           "Categories=Screensaver;\n"
           "OnlyShowIn=MATE;XFCE;\n";
}

std::string trimmedOutput(const std::optional<std::string>& text) {
    return text ? std::string(trimmed(*text, " \t\r\n")) : std::string(none);
}

// xfconf-query's array: a heading, an empty line, then one value a line.
std::vector<std::string> xfconfArray(const std::string& text) {
    std::vector<std::string> values;
    std::istringstream lines(text);
    std::string line;
    bool inValues = false;
    while (std::getline(lines, line)) {
        if (inValues && !line.empty())
            values.push_back(line);
        inValues = inValues || line.empty();
    }
    return values;
}

std::string joinedValues(const std::vector<std::string>& values) {
    std::string text;
    for (const std::string& v : values)
        text += (text.empty() ? "" : ",") + v;
    return text;
}

std::string environmentOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

} // namespace

HostFolders hostFoldersOfEnvironment() {
    HostFolders folders;
    folders.home = environmentOr("HOME", "/");
    folders.configHome = environmentOr("XDG_CONFIG_HOME", folders.home + "/.config");
    folders.dataHome = environmentOr("XDG_DATA_HOME", folders.home + "/.local/share");
    return folders;
}

DesktopHosts::DesktopHosts(HostFolders folders, CommandRunner& commands, std::string saverProgram)
    : folders_(std::move(folders)), commands_(commands), saverProgram_(std::move(saverProgram)) {}

std::string DesktopHosts::statePath() const {
    return folders_.configHome + "/bramblex/screensaver-hosts";
}

std::string DesktopHosts::userEntryPath() const {
    return folders_.dataHome + "/applications/screensavers/" + packagedSaverName + ".desktop";
}

std::string DesktopHosts::xscreensaverPath() const {
    return folders_.home + "/.xscreensaver";
}

Installation DesktopHosts::installation() const {
    std::error_code error;
    if (fs::exists(folders_.hackFolder + "/" + packagedSaverName, error))
        return Installation::Packaged;
    if (fs::is_regular_file(userEntryPath(), error))
        return Installation::PerUser;
    return Installation::None;
}

std::vector<std::string> DesktopHosts::hosts() const {
    std::vector<std::string> found;
    if (commands_.has("xscreensaver"))
        found.emplace_back("xscreensaver");
    if (commands_.has("mate-screensaver"))
        found.emplace_back("MATE");
    if (commands_.has("xfce4-screensaver"))
        found.emplace_back("Xfce");
    return found;
}

std::optional<std::string> DesktopHosts::output(const std::vector<std::string>& arguments) const {
    return commands_.run(arguments);
}

std::string DesktopHosts::xscreensaverCommand() const {
    return (installation() == Installation::Packaged ? std::string(packagedSaverName)
                                                     : shellQuoted(saverProgram_)) +
           " --root";
}

std::string DesktopHosts::xscreensaverText() const {
    if (std::optional<std::string> text = readText(xscreensaverPath()))
        return *text;
    for (const std::string& defaults : folders_.xscreensaverDefaults)
        if (const std::optional<std::string> text = readText(defaults))
            return xscreensaverFileFromDefaults(*text);
    return std::string(); // no defaults to start from: xscreensaver takes its built-in ones
}

bool DesktopHosts::writeXscreensaver(const std::string& text) const {
    if (!writeText(xscreensaverPath(), text))
        return false;
    // xscreensaver 6 also notices the change by itself; older daemons need the restart.
    commands_.run({"xscreensaver-command", "-restart"});
    return true;
}

bool DesktopHosts::xscreensaverSet() const {
    const std::optional<std::string> text = readText(xscreensaverPath());
    if (!text)
        return false;
    const std::optional<std::size_t> index = bramblexProgramIndex(*text);
    return index && xscreensaverValue(*text, "mode") == "one" &&
           xscreensaverValue(*text, "selected") == std::to_string(*index);
}

bool DesktopHosts::gsettingsSet() const {
    return trimmedOutput(output({"gsettings", "get", mateSchema, "mode"})) == "'single'" &&
           trimmedOutput(output({"gsettings", "get", mateSchema, "themes"}))
                   .rfind(std::string("['") + saverThemeId + "'", 0) == 0;
}

bool DesktopHosts::xfceSet() const {
    const std::optional<std::string> themes =
        output({"xfconf-query", "-c", xfceChannel, "-p", "/saver/themes/list"});
    const std::vector<std::string> list = themes ? xfconfArray(*themes) : std::vector<std::string>();
    return trimmedOutput(output({"xfconf-query", "-c", xfceChannel, "-p", "/saver/mode"})) == "2" &&
           !list.empty() && list.front() == saverThemeId;
}

bool DesktopHosts::isActive() const {
    const std::vector<std::string> found = hosts();
    if (found.empty() || installation() == Installation::None)
        return false;
    for (const std::string& host : found) {
        const bool set = host == "xscreensaver" ? xscreensaverSet()
                         : host == "MATE"       ? gsettingsSet()
                                                : xfceSet();
        if (!set)
            return false;
    }
    return true;
}

bool DesktopHosts::install() {
    if (installation() == Installation::Packaged)
        return true;
    std::error_code missing;
    if (!fs::is_regular_file(saverProgram_, missing))
        return false;
    bool complete = writeText(userEntryPath(), desktopEntry(saverProgram_));
    std::error_code error;
    if (commands_.has("xscreensaver") || fs::exists(xscreensaverPath(), error)) {
        complete = writeXscreensaver(withBramblexProgram(xscreensaverText(),
                                                         bramblexProgramEntry(xscreensaverCommand()))) &&
                   complete;
    }
    return complete;
}

bool DesktopHosts::uninstall() {
    if (installation() != Installation::PerUser)
        return installation() == Installation::None;
    deactivate();
    std::error_code error;
    bool complete = fs::remove(userEntryPath(), error) || !error;
    if (const std::optional<std::string> text = readText(xscreensaverPath())) {
        const std::string without = withoutBramblexProgram(*text);
        if (without != *text)
            complete = writeXscreensaver(without) && complete;
    }
    return complete;
}

DesktopHosts::State DesktopHosts::readState() const {
    State state;
    std::istringstream lines(readText(statePath()).value_or(""));
    std::string line;
    while (std::getline(lines, line))
        if (const std::size_t equals = line.find('='); equals != std::string::npos)
            state[line.substr(0, equals)] = line.substr(equals + 1);
    return state;
}

bool DesktopHosts::writeState(const State& state) const {
    std::string text = "# What Bramblex 2 changed in the screensaver hosts, to be put back by\n"
                       "# bramblex2-screensaver --deactivate.\n";
    for (const auto& [key, value] : state)
        text += key + "=" + value + "\n";
    return writeText(statePath(), text);
}

HostReport DesktopHosts::activateXscreensaver(State& state) {
    const std::string text = xscreensaverText();
    if (!state.count("xscreensaver.mode")) {
        state["xscreensaver.mode"] = xscreensaverValue(text, "mode").value_or(none);
        state["xscreensaver.selected"] = xscreensaverValue(text, "selected").value_or(none);
        state["xscreensaver.entry"] = bramblexProgramIndex(text) ? "kept" : "added";
    }
    std::string edited = withBramblexProgram(text, bramblexProgramEntry(xscreensaverCommand()));
    const std::string index = std::to_string(bramblexProgramIndex(edited).value_or(0));
    edited = withXscreensaverValue(withXscreensaverValue(edited, "mode", "one"), "selected", index);
    if (!writeXscreensaver(edited))
        return {"xscreensaver", false, xscreensaverPath() + " could not be written"};
    return {"xscreensaver", true, xscreensaverPath() + ": mode one, selected " + index + " (Bramblex 2)"};
}

namespace {

// The report for a host that runs only the screensavers of the system's folders.
HostReport onlyPackaged(const char* host, const char* program) {
    return {host, false,
            std::string(program) + " runs only screensavers of the system's folders: install the bramblex2 "
                                   "package for it"};
}

} // namespace

HostReport DesktopHosts::activateMate(State& state) {
    if (installation() != Installation::Packaged)
        return onlyPackaged("MATE", "mate-screensaver");
    if (!state.count("mate.mode")) {
        state["mate.mode"] = trimmedOutput(output({"gsettings", "get", mateSchema, "mode"}));
        state["mate.themes"] = trimmedOutput(output({"gsettings", "get", mateSchema, "themes"}));
    }
    const std::string themes = std::string("['") + saverThemeId + "']";
    const bool done = output({"gsettings", "set", mateSchema, "themes", themes}) &&
                      output({"gsettings", "set", mateSchema, "mode", "single"});
    return {"MATE", done,
            done ? std::string(mateSchema) + ": mode 'single', themes " + themes
                 : std::string("gsettings could not set ") + mateSchema};
}

HostReport DesktopHosts::activateXfce(State& state) {
    if (installation() != Installation::Packaged)
        return onlyPackaged("Xfce", "xfce4-screensaver");
    if (!state.count("xfce.mode")) {
        state["xfce.mode"] = trimmedOutput(output({"xfconf-query", "-c", xfceChannel, "-p", "/saver/mode"}));
        const std::optional<std::string> themes =
            output({"xfconf-query", "-c", xfceChannel, "-p", "/saver/themes/list"});
        state["xfce.themes"] = themes ? joinedValues(xfconfArray(*themes)) : none;
    }
    const bool done =
        output({"xfconf-query", "-c", xfceChannel, "-p", "/saver/themes/list", "-n", "-a", "-t", "string",
                "-s", saverThemeId}) &&
        output({"xfconf-query", "-c", xfceChannel, "-p", "/saver/mode", "-n", "-t", "int", "-s", "2"});
    return {"Xfce", done,
            done ? std::string(xfceChannel) + ": /saver/mode 2, /saver/themes/list " + saverThemeId
                 : std::string("xfconf-query could not set ") + xfceChannel};
}

std::vector<HostReport> DesktopHosts::activate() {
    const std::vector<std::string> found = hosts();
    if (found.empty())
        return {};
    State state = readState();
    if (installation() != Installation::Packaged) {
        const bool fresh = installation() == Installation::None;
        if (!install())
            return {{"Bramblex 2", false, saverProgram_ + " could not be installed for the hosts"}};
        if (fresh && !state.count("install"))
            state["install"] = "made";
    }
    std::vector<HostReport> reports;
    for (const std::string& host : found)
        reports.push_back(host == "xscreensaver" ? activateXscreensaver(state)
                          : host == "MATE"       ? activateMate(state)
                                                 : activateXfce(state));
    if (!writeState(state))
        reports.push_back(
            {"Bramblex 2", false, statePath() + " could not be written: --deactivate cannot put back"});
    return reports;
}

HostReport DesktopHosts::restoreXscreensaver(const State& state) {
    std::optional<std::string> text = readText(xscreensaverPath());
    if (!text)
        return {"xscreensaver", false, xscreensaverPath() + " is gone"};
    std::string edited = *text;
    if (state.at("xscreensaver.entry") == "added" && installation() != Installation::PerUser)
        edited = withoutBramblexProgram(edited);
    std::string said;
    for (const char* name : {"mode", "selected"}) {
        const std::string& value = state.at(std::string("xscreensaver.") + name);
        edited = value == none ? withoutXscreensaverValue(edited, name)
                               : withXscreensaverValue(edited, name, value);
        said += std::string(said.empty() ? "" : ", ") + name + " " + (value == none ? "unset" : value);
    }
    if (!writeXscreensaver(edited))
        return {"xscreensaver", false, xscreensaverPath() + " could not be written"};
    return {"xscreensaver", true, xscreensaverPath() + ": " + said};
}

HostReport DesktopHosts::restoreMate(const State& state) {
    bool done = true;
    std::string said;
    for (const char* key : {"themes", "mode"}) {
        const std::string& value = state.at(std::string("mate.") + key);
        done = (value == none ? output({"gsettings", "reset", mateSchema, key})
                              : output({"gsettings", "set", mateSchema, key, value})) &&
               done;
        said = std::string(key) + " " + (value == none ? "reset" : value) + (said.empty() ? "" : ", ") + said;
    }
    return {"MATE", done,
            done ? std::string(mateSchema) + ": " + said
                 : std::string("gsettings could not set ") + mateSchema};
}

HostReport DesktopHosts::restoreXfce(const State& state) {
    const std::string& mode = state.at("xfce.mode");
    const std::string& themes = state.at("xfce.themes");
    std::vector<std::string> setThemes = {"xfconf-query", "-c", xfceChannel, "-p", "/saver/themes/list"};
    if (themes == none || themes.empty()) {
        setThemes.emplace_back("-r");
    } else {
        setThemes.insert(setThemes.end(), {"-n", "-a"});
        std::istringstream list(themes);
        for (std::string theme; std::getline(list, theme, ',');)
            setThemes.insert(setThemes.end(), {"-t", "string", "-s", theme});
    }
    const std::vector<std::string> setMode =
        mode == none ? std::vector<std::string>{"xfconf-query", "-c", xfceChannel, "-p", "/saver/mode", "-r"}
                     : std::vector<std::string>{"xfconf-query", "-c", xfceChannel, "-p", "/saver/mode",
                                                "-n",           "-t", "int",       "-s", mode};
    const bool done = output(setThemes) && output(setMode);
    return {"Xfce", done,
            done ? std::string(xfceChannel) + ": /saver/mode " + (mode == none ? "reset" : mode) +
                       ", /saver/themes/list " + (themes == none ? "reset" : themes)
                 : std::string("xfconf-query could not set ") + xfceChannel};
}

std::vector<HostReport> DesktopHosts::deactivate() {
    State state = readState();
    if (state.empty())
        return {};
    std::vector<HostReport> reports;
    if (state.count("xscreensaver.mode"))
        reports.push_back(restoreXscreensaver(state));
    if (state.count("mate.mode"))
        reports.push_back(restoreMate(state));
    if (state.count("xfce.mode"))
        reports.push_back(restoreXfce(state));
    std::error_code error;
    fs::remove(statePath(), error);
    if (state.count("install") && installation() == Installation::PerUser) {
        const bool removed = uninstall();
        reports.push_back(
            {"Bramblex 2", removed,
             removed ? "the install made by --activate was taken back: " + userEntryPath() + " removed"
                     : userEntryPath() + " could not be removed"});
    }
    return reports;
}

} // namespace bx

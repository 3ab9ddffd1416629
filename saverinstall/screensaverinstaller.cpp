#include "screensaverinstaller.h"

#include "options/atomicfile.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "iniedit.h"
#include "text/strings.h"

namespace bx {
namespace fs = std::filesystem;

namespace {

bool endsWithScr(const std::string& name) {
    if (name.size() < 4)
        return false;
    return equalsIgnoringCase(std::string_view(name).substr(name.size() - 4), ".scr");
}

// A copy through a temporary file renamed over the target: a running installed screensaver is
// replaced rather than written into, and a failed copy leaves no half file behind.
bool copyReplacing(const fs::path& from, const fs::path& to) {
    fs::path temporary = to;
    temporary += ".new";
    std::error_code error;
    fs::copy_file(from, temporary, fs::copy_options::overwrite_existing, error);
    if (!error)
        fs::rename(temporary, to, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

} // namespace

bool listingHasScreensaver(const std::vector<std::string>& scrFiles) {
    // From the last entry to the first, as the page's file list is searched.
    return std::any_of(scrFiles.rbegin(), scrFiles.rend(), [](const std::string& name) {
        return name.find(screensaverProgramName) != std::string::npos;
    });
}

std::vector<std::string> screensaverFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        const std::string name = it->path().filename().string();
        if (it->is_regular_file(typeError) && endsWithScr(name))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

ScreensaverInstaller::ScreensaverInstaller(SystemFolders& folders, std::string programFolder)
    : folders_(folders), programFolder_(std::move(programFolder)) {}

std::string ScreensaverInstaller::iniPath() const {
    return folders_.windowsDirectory() + "/" + std::string(systemIniName);
}

bool ScreensaverInstaller::isInstalled() const {
    const std::string folder = folders_.systemDirectory();
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return false;
    return listingHasScreensaver(screensaverFilesIn(folder));
}

bool ScreensaverInstaller::isActive() const {
    std::ifstream in(iniPath(), std::ios::binary);
    if (!in)
        return false;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return iniNamesScreensaver(text);
}

bool ScreensaverInstaller::install() {
    const fs::path target = folders_.systemDirectory();
    bool complete = true;
    for (std::string_view name : screensaverFiles) {
        const fs::path source = fs::path(programFolder_) / name;
        std::error_code error;
        if (!fs::is_regular_file(source, error)) {
            complete = false;
            continue;
        }
        if (!copyReplacing(source, target / name))
            complete = false;
    }
    return complete;
}

ActivationResult ScreensaverInstaller::activate() {
    const std::string path = iniPath();
    std::ifstream in(path, std::ios::binary);
    std::error_code error;
    if (!in || !fs::is_regular_file(path, error))
        return ActivationResult::NoIniFile;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        return ActivationResult::NotWritten; // unreadable: leave it alone
    in.close();
    const IniActivation edited = activateInIni(text.str(), screensaverEntry(folders_.systemDirectory()));
    return replaceFileText(path, edited.text).empty() ? ActivationResult::Activated
                                                      : ActivationResult::NotWritten;
}

} // namespace bx

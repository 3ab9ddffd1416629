#include "savefile.h"

#include <filesystem>
#include <system_error>

#include "options/atomicfile.h"

namespace bx {
namespace {

// In "<config>/bramblex/Bramblex 2.ini", beside the screensaver's square size.
const char* const settingsApplication = "Bramblex 2";
const char* const foldersSection = "Folders";

const char* folderKey(SavedKind kind) {
    return kind == SavedKind::Picture ? "Pictures" : "Tables";
}

} // namespace

SaveFolders::SaveFolders(SettingsStore& settings, std::string pictures, std::string documents)
    : settings_(settings), pictures_(std::move(pictures)), documents_(std::move(documents)) {}

std::string SaveFolders::startFolder(SavedKind kind) const {
    std::error_code error;
    if (const auto last = settings_.get(settingsApplication, foldersSection, folderKey(kind));
        last && !last->empty() && std::filesystem::is_directory(*last, error))
        return *last;
    return kind == SavedKind::Picture ? pictures_ : documents_;
}

void SaveFolders::remember(SavedKind kind, const std::string& path) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(path, error).parent_path();
    if (!error && !folder.empty())
        settings_.set(settingsApplication, foldersSection, folderKey(kind), folder.string());
}

OverwriteAnswer askToOverwrite(FileDialogs& files) {
    return files.confirmOverwrite("Overwrite file?",
                                  "This file already exists.\rWould you like to overwrite it?");
}

std::optional<std::string> saveTextAs(FileDialogs& files, MessageService& messages, SaveFolders& folders,
                                      SavedKind kind, FileDialogRequest request, const std::string& text) {
    request.folder = folders.startFolder(kind);
    const std::optional<std::string> path = files.saveFile(request);
    if (!path)
        return std::nullopt;
    std::error_code error;
    if (std::filesystem::exists(*path, error) && askToOverwrite(files) != OverwriteAnswer::Yes)
        return std::nullopt;
    if (const std::string reason = replaceFileText(*path, text); !reason.empty()) {
        messages.inform(
            {"Not saved", "Cannot write \"" + *path + "\": " + reason, MessageIcon::Exclamation, 0, {}});
        return std::nullopt;
    }
    folders.remember(kind, *path);
    return path;
}

} // namespace bx

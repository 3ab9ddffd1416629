#pragma once
// Saving something the user names: the save dialog, the overwrite question when the file exists,
// and the text written whole (a crash never leaves half a file).
#include <optional>
#include <string>

#include "platform/filedialogs.h"
#include "platform/messages.h"
#include "saverinstall/settingsstore.h"

namespace bx {

// What a save writes; each kind has a folder of its own to start in.
enum class SavedKind {
    Picture, // Save Picture, Save Chart
    Table,   // Export CSV
};

// The folder a save dialog starts in: where the last file of its kind was saved, remembered in the
// settings store across runs while that folder still exists; at first the user's Pictures folder
// for pictures and Documents folder for tables.
class SaveFolders {
public:
    SaveFolders(SettingsStore& settings, std::string pictures, std::string documents);
    std::string startFolder(SavedKind kind) const;
    // A file of that kind was saved at path.
    void remember(SavedKind kind, const std::string& path);

private:
    SettingsStore& settings_;
    std::string pictures_, documents_;
};

// The question asked before a save replaces an existing file.
OverwriteAnswer askToOverwrite(FileDialogs& files);

// Returns the path written; a failure is told in a message box titled "Not saved". The dialog
// starts in the kind's folder (the request's own folder is not used), which then remembers the
// path written.
std::optional<std::string> saveTextAs(FileDialogs& files, MessageService& messages, SaveFolders& folders,
                                      SavedKind kind, FileDialogRequest request, const std::string& text);

} // namespace bx

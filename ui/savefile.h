#pragma once
// Saving something the user names: the save dialog, the overwrite question when the file exists,
// and the text written whole (a crash never leaves half a file).
#include <string>

#include "platform/filedialogs.h"
#include "platform/messages.h"

namespace bx {

// The question asked before a save replaces an existing file.
OverwriteAnswer askToOverwrite(FileDialogs& files);

// Returns whether the text was written; a failure is told in a message box titled "Not saved".
bool saveTextAs(FileDialogs& files, MessageService& messages, const FileDialogRequest& request,
                const std::string& text);

} // namespace bx

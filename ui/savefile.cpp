#include "savefile.h"

#include <filesystem>
#include <system_error>

#include "options/atomicfile.h"

namespace bx {

OverwriteAnswer askToOverwrite(FileDialogs& files) {
    return files.confirmOverwrite("Overwrite file?",
                                  "This file already exists.\rWould you like to overwrite it?");
}

bool saveTextAs(FileDialogs& files, MessageService& messages, const FileDialogRequest& request,
                const std::string& text) {
    const std::optional<std::string> path = files.saveFile(request);
    if (!path)
        return false;
    std::error_code error;
    if (std::filesystem::exists(*path, error) && askToOverwrite(files) != OverwriteAnswer::Yes)
        return false;
    if (const std::string reason = replaceFileText(*path, text); !reason.empty()) {
        messages.inform(
            {"Not saved", "Cannot write \"" + *path + "\": " + reason, MessageIcon::Exclamation, 0, {}});
        return false;
    }
    return true;
}

} // namespace bx

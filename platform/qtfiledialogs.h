#pragma once
// FileDialogs over QFileDialog and QMessageBox. Object names for tests and tools: the dialogs
// "filedialog", the overwrite box "messagebox" with "yesbutton", "nobutton", "cancelbutton".
#include "platform/filedialogs.h"

namespace bx {

class QtFileDialogs : public FileDialogs {
  public:
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    OverwriteAnswer confirmOverwrite(const std::string& title, const std::string& text) override;
};

} // namespace bx

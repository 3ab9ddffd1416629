#pragma once
// FileDialogs over QFileDialog and QMessageBox. Object names for tests and tools: the dialogs
// "filedialog", the overwrite box "messagebox" with "yesbutton", "nobutton", "cancelbutton".
#include <QPointer>
#include <QWidget>

#include "platform/filedialogs.h"

namespace bx {

class QtFileDialogs : public FileDialogs {
public:
    // The window dialogs belong to when no window of the program is active (a dialog that opens
    // right after its own window was hidden), so that they still open centred on the program.
    void setHomeWindow(QWidget* home) { home_ = home; }

    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    OverwriteAnswer confirmOverwrite(const std::string& title, const std::string& text) override;

private:
    QWidget* owner() const;
    QPointer<QWidget> home_;
};

} // namespace bx

#include "platform/qtfiledialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <filesystem>

#include "platform/qtmessages.h"

namespace bx {

std::string qtNameFilter(const FileFilter& filter) {
    const std::string pattern = filter.pattern == "*.*" ? "*" : filter.pattern;
    std::string description = filter.description;
    // Qt reads the patterns from the last parentheses of the text; without any it adds them.
    if (description.find('(') == std::string::npos)
        description += " (" + pattern + ")";
    else if (pattern != filter.pattern)
        description = description.substr(0, description.rfind('(')) + "(" + pattern + ")";
    return description;
}

std::string filterExtension(const FileFilter& filter) {
    // The first pattern of the filter names the extension: "*.bx2" or "*.png;*.PNG".
    const std::string pattern = filter.pattern.substr(0, filter.pattern.find_first_of("; "));
    if (pattern.size() < 3 || pattern.compare(0, 2, "*.") != 0 ||
        pattern.find_first_of("*?[", 2) != std::string::npos)
        return {};
    return pattern.substr(2);
}

std::string withFilterExtension(const std::string& path, const FileFilter& chosen) {
    const std::string extension = filterExtension(chosen);
    if (extension.empty() || !std::filesystem::path(path).extension().empty())
        return path;
    return path + "." + extension;
}

namespace {

// In an open dialog, a typed name without an extension that names no file stands for that name
// with the extension of the filter the dialog opened with, when such a file is there. Qt's own
// default suffix cannot do this: it tests a typed name against the working folder, not the
// dialog's, and so takes an existing "plain" for "plain.bx2".
class FileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    QString extension; // without the dot; none adds nothing

    QString chosen; // the file an open dialog was accepted with

    void accept() override {
        const QStringList files = selectedFiles(); // absolute: the dialog's folder and the typed name
        if (acceptMode() != AcceptOpen || files.size() != 1 || QFileInfo(files.first()).isDir())
            return QFileDialog::accept(); // a folder is opened in the dialog
        QString file = files.first();
        const QFileInfo typed(file);
        if (!typed.exists() && typed.suffix().isEmpty() && !extension.isEmpty() &&
            QFileInfo(file + "." + extension).isFile())
            file += "." + extension;
        if (!QFileInfo::exists(file)) {
            QMessageBox::warning(this, windowTitle(),
                                 QFileInfo(file).fileName() +
                                     "\nFile not found.\nPlease verify the correct file name was given.");
            return;
        }
        chosen = file;
        QDialog::accept();
    }
};

std::optional<std::string> runDialog(QWidget* owner, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode) {
    FileDialog dialog(owner, QString::fromStdString(request.title), QString::fromStdString(request.folder));
    dialog.setObjectName("filedialog");
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile); // an open dialog checks for itself that the file is there
    dialog.setOption(QFileDialog::DontConfirmOverwrite); // the caller asks its own question
    QStringList filters;
    for (const FileFilter& f : request.filters)
        filters << QString::fromStdString(qtNameFilter(f));
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size()) {
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
        dialog.extension =
            QString::fromStdString(filterExtension(request.filters[std::size_t(request.filterIndex - 1)]));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const std::string path =
        (dialog.chosen.isEmpty() ? dialog.selectedFiles().first() : dialog.chosen).toStdString();
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (mode == QFileDialog::AcceptOpen || chosen < 0)
        return path;
    return withFilterExtension(path, request.filters[std::size_t(chosen)]);
}

} // namespace

QWidget* QtFileDialogs::owner() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return home_ && home_->isVisible() ? home_.data() : nullptr;
}

std::optional<std::string> QtFileDialogs::openFile(const FileDialogRequest& request) {
    return runDialog(owner(), request, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtFileDialogs::saveFile(const FileDialogRequest& request) {
    return runDialog(owner(), request, QFileDialog::AcceptSave);
}

OverwriteAnswer QtFileDialogs::confirmOverwrite(const std::string& title, const std::string& text) {
    QMessageBox box(owner());
    box.setObjectName("messagebox");
    box.setWindowTitle(QString::fromStdString(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(messageText(text));
    box.setIcon(QMessageBox::Warning);
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    QPushButton* no = box.addButton(QMessageBox::No);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    yes->setObjectName("yesbutton");
    no->setObjectName("nobutton");
    cancel->setObjectName("cancelbutton");
    box.setDefaultButton(no);
    box.setEscapeButton(cancel);
    box.show();
    box.raise();
    box.activateWindow();
    box.exec();
    if (box.clickedButton() == yes)
        return OverwriteAnswer::Yes;
    return box.clickedButton() == no ? OverwriteAnswer::No : OverwriteAnswer::Cancel;
}

} // namespace bx

#pragma once
// The open and save dialogs of the profile commands, and the overwrite question that belongs to
// saving. One interface so tests can choose files and answer without a desktop.
#include <optional>
#include <string>
#include <vector>

namespace bx {

// One entry of a dialog's file-type list: "Simulation Files (*.bx2)" with pattern "*.bx2".
struct FileFilter {
    std::string description;
    std::string pattern;
};

struct FileDialogRequest {
    std::string title;
    std::string folder; // initial folder
    std::vector<FileFilter> filters;
    int filterIndex = 1; // 1-based: the filter selected when the dialog opens
};

enum class OverwriteAnswer { Yes, No, Cancel };

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen file's path (an existing file), or nothing when the user cancelled. A name typed
    // without an extension that names no file gets the extension of the filter selected at opening
    // when that makes the name of a file ("mytest" opens "mytest.bx2").
    virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
    // The chosen path, with the chosen filter's extension added to a name typed without one (see
    // withFilterExtension); the dialog itself never asks about overwriting, the caller does with
    // confirmOverwrite on the path returned.
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
    // A Yes/No/Cancel box: exclamation icon, No the default button, brought to the front.
    virtual OverwriteAnswer confirmOverwrite(const std::string& title, const std::string& text) = 0;
};

// The Qt name filter of one entry. A lone "*.*" becomes "*": on Linux many files have no dot.
std::string qtNameFilter(const FileFilter& filter);

// The extension a filter names, without the dot: "bx2" for "*.bx2" or "*.bx2;*.BX2"; nothing for
// all files or a pattern with wildcards after "*.".
std::string filterExtension(const FileFilter& filter);

// The name a save dialog gives back: "mytest" with "*.bx2" chosen is "mytest.bx2". A name that has
// an extension keeps it, and a filter without one (all files) adds nothing.
std::string withFilterExtension(const std::string& path, const FileFilter& chosen);

} // namespace bx

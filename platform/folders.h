#pragma once
// Folders of the running program and of the user.
#include <string>

namespace bx {

// The folder holding the running executable, without a trailing separator. Needs a QCoreApplication.
std::string programFolder();

// The user's own folder for the programs' data: "<XDG_DATA_HOME or ~/.local/share>/bramblex".
std::string userDataFolder();

// The folder whose "Profiles" folder holds the profiles: the program's folder when the user can
// write it (a copy unpacked or built by the user), else userFolder (an installed copy, in
// <prefix>/lib/bramblex2, whoever may write it).
std::string profileHome(const std::string& programFolder, const std::string& userFolder);

// Where pictures and documents saved by the user go first: the user's XDG Pictures or Documents
// folder (user-dirs.dirs) when it exists, else the home folder.
std::string picturesFolder();
std::string documentsFolder();

} // namespace bx

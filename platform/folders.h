#pragma once
// Folders of the running program.
#include <string>

namespace bx {

// The folder holding the running executable, without a trailing separator. Needs a QCoreApplication.
std::string programFolder();

} // namespace bx

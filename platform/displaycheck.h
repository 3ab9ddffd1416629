#pragma once
// Whether the X display the Qt platform plugin is going to open can be opened, asked before Qt is
// started: Qt ends a program that cannot open it by abort(), with a core dump and several lines.
#include <optional>
#include <string>
#include <vector>

namespace bx {

// Why the display cannot be opened ("DISPLAY is not set", "\":7\" does not answer"), or nothing
// when it can or when Qt is to use another platform (-platform, QT_QPA_PLATFORM, a Wayland
// session). `arguments` are the program's, without its name; Qt's -platform and -display count.
std::optional<std::string> displayProblem(const std::vector<std::string>& arguments);

} // namespace bx

#pragma once
// Writing a file so that a crash or a full disk never leaves half of it: the text goes to a
// temporary file beside the target, is flushed to disk and renamed over the target.
#include <string>
#include <string_view>

namespace bx {

// Replaces the file at path by text. Returns "" on success, else the reason (the system's
// message); the old file is then left as it was and no temporary file stays behind.
// A file that is replaced keeps its permissions.
std::string replaceFileText(const std::string& path, std::string_view text);

} // namespace bx

#pragma once
// The display window's keys, one row each. README.md, the help file and the man page list them;
// a test holds those lists to this table.
#include <span>
#include <string_view>

namespace bx {

class ViewOperations;

// What a key does while the world is shown full screen.
enum class InFullScreen {
    Acts,           // its command, and full-screen mode stays
    OnlyLeaves,     // leaves full-screen mode instead of its command
    LeavesThenActs, // leaves full-screen mode, then its command
};

struct CanvasKey {
    std::string_view key;      // as the documentation names it: "m", "+", "F1"
    std::string_view alsoKeys; // characters that do the same ("=" beside "+")
    std::string_view does;     // a short description
    InFullScreen inFullScreen;
    void (ViewOperations::*command)();
};

// Every key; letters work in either case. Any key without a row only leaves full-screen mode.
std::span<const CanvasKey> canvasKeys();
// The row of a key's name (a typed character or "F1"); nullptr when no row has it.
const CanvasKey* canvasKeyOf(std::string_view keyName);

} // namespace bx

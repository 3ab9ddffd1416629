#pragma once
// Plain text as the programs' files and command lines have it: blanks, ASCII letters, and UTF-8
// checked strictly, the same whatever locale a program runs in.
#include <cstddef>
#include <string>
#include <string_view>

namespace bx {

// The text without the given characters at either end (blanks and tabs unless told).
std::string_view trimmed(std::string_view text, std::string_view characters = " \t");

bool isAsciiDigit(char c);
bool isHexDigit(char c);

// ASCII letters only; other bytes stay as they are.
char asciiLower(char c);
char asciiUpper(char c);
std::string asciiLower(std::string_view text);

// Equal but for the case of ASCII letters.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// The length of the UTF-8 sequence at the start of text, 0 when it is not a valid one: overlong
// forms, surrogates and code points above U+10FFFF are not. Empty text gives 0.
std::size_t utf8Length(std::string_view text);

// Every byte belongs to a valid UTF-8 sequence.
bool isValidUtf8(std::string_view text);

// Text fit for a message on a terminal or in a box: every byte that is not part of a valid
// UTF-8 sequence, and every control character, becomes \xNN (upper-case hex); at most `longest`
// characters, then "...".
std::string printableText(std::string_view text, std::size_t longest = std::string_view::npos);

} // namespace bx

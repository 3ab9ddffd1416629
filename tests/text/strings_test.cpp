#include "text/strings.h"

#include <gtest/gtest.h>

namespace bx {
namespace {

TEST(strings_test, trimming_and_ascii_case) {
    EXPECT_EQ("a b", trimmed(" \ta b\t "));
    EXPECT_EQ("", trimmed(" \t "));
    EXPECT_EQ("\tx", trimmed(" \tx ", " "));
    EXPECT_EQ("x", trimmed("\r x\r", " \t\r"));
    EXPECT_TRUE(equalsIgnoringCase("#True#", "#TRUE#"));
    EXPECT_TRUE(equalsIgnoringCase("Pic.SCR", "pic.scr"));
    EXPECT_FALSE(equalsIgnoringCase("abc", "abd"));
    EXPECT_FALSE(equalsIgnoringCase("abc", "ab"));
    EXPECT_FALSE(equalsIgnoringCase("\xC3\xA9", "\xC3\x89")); // only ASCII letters fold
    EXPECT_EQ("caf\xC3\x89 1-a", asciiLower("CAF\xC3\x89 1-A"));
    EXPECT_EQ('P', asciiUpper('p'));
    EXPECT_TRUE(isHexDigit('F') && isHexDigit('a') && !isHexDigit('g') && isAsciiDigit('9'));
}

// Strict UTF-8: a text either is valid everywhere or it is shown byte by byte where it is not.
TEST(strings_test, utf8_is_checked_strictly_and_shown_escaped) {
    const struct {
        const char* text;
        bool valid;
        const char* shown;
    } rows[] = {
        {"plain", true, "plain"},
        {"Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\xB1", true, "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\xB1"},
        {"\xF4\x8F\xBF\xBF", true, "\xF4\x8F\xBF\xBF"},      // U+10FFFF, the last code point
        {"Caf\xE9", false, "Caf\\xE9"},                      // Latin-1
        {"\xC0\x80", false, "\\xC0\\x80"},                   // overlong NUL
        {"\xE0\x80\xAF", false, "\\xE0\\x80\\xAF"},          // overlong '/'
        {"\xF0\x80\x80\xAF", false, "\\xF0\\x80\\x80\\xAF"}, // overlong '/'
        {"\xED\xA0\x80", false, "\\xED\\xA0\\x80"},          // a surrogate
        {"\xF4\x90\x80\x80", false, "\\xF4\\x90\\x80\\x80"}, // above U+10FFFF
        {"\xC3", false, "\\xC3"},                            // cut short
        {"a\x1B[2Jb\x7F", true, "a\\x1B[2Jb\\x7F"},          // control characters masked
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.valid, isValidUtf8(row.text)) << row.shown;
        EXPECT_EQ(row.shown, printableText(row.text)) << row.shown;
    }
    EXPECT_EQ("ab...", printableText("abc", 2));
    EXPECT_EQ(0u, utf8Length(""));
}

} // namespace
} // namespace bx

#pragma once
// Numbers read and written as the programs' files, messages and command lines have them, never in
// the locale's form: a program with windows runs under the user's locale (a decimal comma in many),
// while a profile, a CSV file or a --set value means the same everywhere. Nothing here skips
// blanks: callers trim first (text/strings.h) where their format allows blanks.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bx {

// A whole number: an optional sign ('+' or '-') and decimal digits, nothing else. nullopt when
// malformed or beyond 64 bits.
std::optional<int64_t> parseInteger(std::string_view text);

// Digits of the base (10 or 16, either case), nothing else: no sign, no "0x". nullopt when
// malformed or beyond 64 bits.
std::optional<uint64_t> parseUnsigned(std::string_view text, int base = 10);

// The letters that may start an exponent: 'e' or 'E', and for the options window's boxes also
// 'd' or 'D' (the older double-precision notation).
enum class ExponentLetters { E, EorD };

// The longest start of text that reads as a decimal number: optional sign, digits with at most
// one point (at least one digit in all), then an exponent when one with digits follows.
struct DecimalPrefix {
    double value = 0; // 0 when beyond the range of a double
    std::size_t length = 0;
    bool inRange = true; // false when too large or too small for a double
};
std::optional<DecimalPrefix> decimalPrefix(std::string_view text,
                                           ExponentLetters letters = ExponentLetters::E);

// The whole text as a decimal number as above ("12", "-.5", "5.", "1.5E-07"; no "inf", "nan" or
// hexadecimal). nullopt for anything else and for values beyond the range of a double.
std::optional<double> parseDecimal(std::string_view text, ExponentLetters letters = ExponentLetters::E);

// "-42"; at least minDigits digits, zeros in front ("000012" for 12 with 6).
void appendInteger(std::string& out, int64_t value, int minDigits = 1);
std::string formatInteger(int64_t value, int minDigits = 1);

// Exactly `decimals` digits after a point ("12.5000" for 12.5 with 4), as printf's %.Nf in the
// C locale.
void appendFixed(std::string& out, double value, int decimals);
std::string formatFixed(double value, int decimals);

// At most `significant` significant digits, trailing zeros dropped, an exponent only for very
// large or small values ("12.5", "1e+07"), as printf's %g and a default std::ostream.
std::string formatGeneral(double value, int significant = 6);

// The shortest decimal digits that read back to exactly the same double, for writers with a
// notation of their own: value = ±0.d1d2d3… × 10^(exponent + 1), i.e. d1.d2d3… × 10^exponent.
// Finite values only.
struct ShortestDigits {
    bool negative = false; // -0 included
    std::string digits;    // no leading zeros except for 0 itself; no trailing zeros
    int exponent = 0;      // the power of ten of the first digit
};
ShortestDigits shortestDigits(double value);

} // namespace bx

#include "text/numbers.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "text/strings.h"

namespace bx {
namespace {

std::size_t skipDigits(std::string_view t, std::size_t i) {
    while (i < t.size() && isAsciiDigit(t[i]))
        ++i;
    return i;
}

bool isExponentLetter(char c, ExponentLetters letters) {
    return c == 'e' || c == 'E' || (letters == ExponentLetters::EorD && (c == 'd' || c == 'D'));
}

// The length of the number at the start of t (after its sign), 0 when none is there.
std::size_t unsignedDecimalLength(std::string_view t, ExponentLetters letters) {
    std::size_t i = skipDigits(t, 0);
    std::size_t digits = i;
    if (i < t.size() && t[i] == '.') {
        const std::size_t fraction = i + 1;
        i = skipDigits(t, fraction);
        digits += i - fraction;
    }
    if (digits == 0)
        return 0;
    if (i < t.size() && isExponentLetter(t[i], letters)) {
        std::size_t e = i + 1;
        if (e < t.size() && (t[e] == '+' || t[e] == '-'))
            ++e;
        const std::size_t end = skipDigits(t, e);
        if (end > e)
            i = end;
    }
    return i;
}

} // namespace

std::optional<int64_t> parseInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::optional<uint64_t> magnitude = parseUnsigned(text);
    const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
    if (!magnitude || *magnitude > limit)
        return std::nullopt;
    // Two's complement: the negation of 2^63 is the smallest int64_t.
    return negative ? static_cast<int64_t>(0 - *magnitude) : static_cast<int64_t>(*magnitude);
}

std::optional<uint64_t> parseUnsigned(std::string_view text, int base) {
    uint64_t value = 0;
    if (text.empty() || text.front() == '-' || text.front() == '+')
        return std::nullopt;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value, base);
    if (result.ec != std::errc{} || result.ptr != end)
        return std::nullopt;
    return value;
}

std::optional<DecimalPrefix> decimalPrefix(std::string_view text, ExponentLetters letters) {
    const bool signed_ = !text.empty() && (text.front() == '+' || text.front() == '-');
    const std::string_view rest = text.substr(signed_ ? 1 : 0);
    const std::size_t length = unsignedDecimalLength(rest, letters);
    if (length == 0)
        return std::nullopt;
    // from_chars knows neither a leading '+' nor 'd' exponents: it gets the digits alone.
    std::string digits(rest.substr(0, length));
    for (char& c : digits)
        if (c == 'd' || c == 'D')
            c = 'e';
    DecimalPrefix prefix;
    prefix.length = length + (signed_ ? 1 : 0);
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), prefix.value);
    prefix.inRange = result.ec == std::errc{} && std::isfinite(prefix.value);
    if (!prefix.inRange)
        prefix.value = 0;
    if (signed_ && text.front() == '-')
        prefix.value = -prefix.value;
    return prefix;
}

std::optional<double> parseDecimal(std::string_view text, ExponentLetters letters) {
    const std::optional<DecimalPrefix> prefix = decimalPrefix(text, letters);
    if (!prefix || prefix->length != text.size() || !prefix->inRange)
        return std::nullopt;
    return prefix->value;
}

void appendInteger(std::string& out, int64_t value, int minDigits) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string_view written(buffer, static_cast<std::size_t>(result.ptr - buffer));
    if (value < 0) {
        out += '-';
        written.remove_prefix(1);
    }
    if (static_cast<int>(written.size()) < minDigits)
        out.append(static_cast<std::size_t>(minDigits) - written.size(), '0');
    out += written;
}

std::string formatInteger(int64_t value, int minDigits) {
    std::string out;
    appendInteger(out, value, minDigits);
    return out;
}

void appendFixed(std::string& out, double value, int decimals) {
    // Large enough for any double in fixed notation (up to 309 digits) with its decimals.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    out.append(buffer, result.ptr);
}

std::string formatFixed(double value, int decimals) {
    std::string out;
    appendFixed(out, value, decimals);
    return out;
}

std::string formatGeneral(double value, int significant) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, significant);
    return std::string(buffer, result.ptr);
}

ShortestDigits shortestDigits(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    std::string_view s(buffer, static_cast<std::size_t>(result.ptr - buffer));
    ShortestDigits out;
    out.negative = std::signbit(value);
    if (out.negative)
        s.remove_prefix(1);
    const std::size_t e = s.find('e');
    for (const char c : s.substr(0, e))
        if (c != '.')
            out.digits += c;
    out.exponent = static_cast<int>(parseInteger(s.substr(e + 1)).value_or(0));
    return out;
}

} // namespace bx

#include "profilenumber.h"

#include <charconv>
#include <cstdlib>
#include <system_error>

namespace bx {
namespace {

// Plain notation from 0.01 up to (not including) 1E+15; exponent form outside.
constexpr int smallestPlainExponent = -2;
constexpr int largestPlainExponent = 14;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view t, std::size_t i) {
    while (i < t.size() && isDigit(t[i]))
        ++i;
    return i;
}

} // namespace

std::string_view trimmed(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    return t;
}

void appendProfileNumber(std::string& out, double value) {
    // The scientific form of to_chars carries the shortest digits that read back exactly.
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    std::string_view s(buf, static_cast<std::size_t>(result.ptr - buf));
    if (!s.empty() && s.front() == '-') {
        out += '-';
        s.remove_prefix(1);
    }
    const std::size_t e = s.find('e');
    const std::string_view mantissa = s.substr(0, e);
    std::string_view exponentText = s.substr(e + 1);
    const bool negativeExponent = exponentText.front() == '-';
    exponentText.remove_prefix(1); // the sign
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    if (negativeExponent)
        exponent = -exponent;

    // At most 17 significant digits: the mantissa without its point.
    char digits[32];
    int count = 0;
    for (const char c : mantissa)
        if (c != '.')
            digits[count++] = c;
    const std::string_view all(digits, static_cast<std::size_t>(count));

    if (exponent < smallestPlainExponent || exponent > largestPlainExponent) {
        out += all.front();
        if (count > 1) {
            out += '.';
            out += all.substr(1);
        }
        out += 'E';
        out += exponent < 0 ? '-' : '+';
        const int magnitude = std::abs(exponent);
        if (magnitude < 10)
            out += '0';
        char exponentDigits[8];
        const auto written = std::to_chars(exponentDigits, exponentDigits + sizeof exponentDigits, magnitude);
        out.append(exponentDigits, written.ptr);
        return;
    }
    const int pointAt = exponent + 1; // digits before the point
    if (pointAt >= count) {
        out += all;
        out.append(static_cast<std::size_t>(pointAt - count), '0');
    } else if (pointAt > 0) {
        out += all.substr(0, static_cast<std::size_t>(pointAt));
        out += '.';
        out += all.substr(static_cast<std::size_t>(pointAt));
    } else {
        out += '.';
        out.append(static_cast<std::size_t>(-pointAt), '0');
        out += all;
    }
}

std::string formatProfileNumber(double value) {
    std::string out;
    appendProfileNumber(out, value);
    return out;
}

std::optional<double> parseProfileNumber(std::string_view text) {
    const std::string_view t = trimmed(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    i = skipDigits(t, i);
    std::size_t mantissaDigits = i - start;
    if (i < t.size() && t[i] == '.') {
        const std::size_t fraction = i + 1;
        i = skipDigits(t, fraction);
        mantissaDigits += i - fraction;
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        const std::size_t exponentStart = i;
        i = skipDigits(t, i);
        if (i == exponentStart)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;

    // from_chars takes no leading '+', so the sign is applied here.
    double value = 0;
    const char* end = t.data() + t.size();
    const auto result = std::from_chars(t.data() + start, end, value, std::chars_format::general);
    if (result.ec != std::errc{} || result.ptr != end)
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace bx

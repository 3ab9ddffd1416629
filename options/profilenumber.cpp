#include "profilenumber.h"

#include <cstdlib>

#include "text/numbers.h"
#include "text/strings.h"

namespace bx {
namespace {

// Plain notation from 0.01 up to (not including) 1E+15; exponent form outside.
constexpr int smallestPlainExponent = -2;
constexpr int largestPlainExponent = 14;

} // namespace

void appendProfileNumber(std::string& out, double value) {
    const ShortestDigits shortest = shortestDigits(value);
    const std::string_view all = shortest.digits;
    const int count = static_cast<int>(all.size());
    const int exponent = shortest.exponent;
    if (shortest.negative)
        out += '-';
    if (exponent < smallestPlainExponent || exponent > largestPlainExponent) {
        out += all.front();
        if (count > 1) {
            out += '.';
            out += all.substr(1);
        }
        out += 'E';
        out += exponent < 0 ? '-' : '+';
        appendInteger(out, std::abs(exponent), 2);
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

std::optional<double> parseProfileNumber(std::string_view item) {
    return parseDecimal(trimmed(item));
}

} // namespace bx

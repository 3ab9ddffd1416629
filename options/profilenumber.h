#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace bx {

// Grid components in profile files.
//
// Written as the shortest decimal that reads back to the same double, in the file's notation:
// "." as the point, no "0" before it below 1 (".5"), no trailing zeros, whole values without a
// point ("255"). Values below 0.01 and from 1E+15 up take an exponent form with a signed exponent
// of at least two digits ("1E-05", "1.5E-07"). The sign of -0 is kept, so every finite double
// survives a write and read bit for bit. Not for NaN or infinities (the writer refuses those).
void appendProfileNumber(std::string& out, double value);
std::string formatProfileNumber(double value);

// Reads a number as written above or as older files and people write it: optional sign, digits
// with an optional point (with or without a leading 0), optional exponent ("1E-05", "1e5",
// "2.5E+2"). Spaces and tabs around the number are ignored. Anything else, and values beyond
// the range of a double, give nullopt.
std::optional<double> parseProfileNumber(std::string_view text);

} // namespace bx

#pragma once
// Included before every source of the web build. Emscripten's C++ library (LLVM 14) lacks
// std::bit_cast, which its compiler has as a builtin, and the floating-point overloads of
// <charconv>. These stand-ins give the same text: printf and strtod are correctly rounded in
// its C library, as <charconv> is, and the shortest form is the first precision that reads back.
// They are locale-independent here as <charconv> is: the page never sets a locale, and
// emscripten's C library (musl) always writes and reads the decimal point as '.'.
#include <bit>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace std {

#if !defined(__cpp_lib_bit_cast)
template <class To, class From> constexpr To bit_cast(const From& from) noexcept {
    return __builtin_bit_cast(To, from);
}
#endif

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 16000
namespace web_compat {
inline to_chars_result written(char* first, char* last, const char* format, int precision, double value) {
    char buffer[512];
    const int n = snprintf(buffer, sizeof buffer, format, precision, value);
    if (n < 0 || n >= static_cast<int>(sizeof buffer) || n > last - first)
        return {last, errc::value_too_large};
    memcpy(first, buffer, static_cast<size_t>(n));
    return {first + n, errc{}};
}
} // namespace web_compat

inline to_chars_result to_chars(char* first, char* last, double value, chars_format format, int precision) {
    const char* pattern = format == chars_format::fixed        ? "%.*f"
                          : format == chars_format::scientific ? "%.*e"
                                                               : "%.*g";
    return web_compat::written(first, last, pattern, precision, value);
}

inline to_chars_result to_chars(char* first, char* last, double value, chars_format format) {
    for (int precision = 0; precision < 17; ++precision) {
        char buffer[64];
        snprintf(buffer, sizeof buffer, "%.*e", precision, value);
        if (strtod(buffer, nullptr) == value)
            return to_chars(first, last, value, format, precision);
    }
    return to_chars(first, last, value, format, 16);
}

inline from_chars_result from_chars(const char* first, const char* last, double& value) {
    char buffer[512];
    const size_t length = static_cast<size_t>(last - first);
    if (length >= sizeof buffer)
        return {first, errc::invalid_argument};
    memcpy(buffer, first, length);
    buffer[length] = '\0';
    char* end = nullptr;
    errno = 0;
    const double parsed = strtod(buffer, &end);
    if (end == buffer)
        return {first, errc::invalid_argument};
    if (errno == ERANGE)
        return {first + (end - buffer), errc::result_out_of_range};
    value = parsed;
    return {first + (end - buffer), errc{}};
}
#endif

} // namespace std

#include "text/numbers.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include <gtest/gtest.h>

namespace bx {
namespace {

TEST(numbers_test, decimals_are_read_whole_or_not_at_all) {
    constexpr auto EorD = ExponentLetters::EorD;
    const struct {
        const char* text;
        std::optional<double> value;
        ExponentLetters letters = ExponentLetters::E;
    } rows[] = {
        {"2.6", 2.6},
        {"12", 12},
        {"-.5", -0.5},
        {"+3", 3},
        {"5.", 5},
        {"00012", 12},
        {"1.5E-07", 1.5e-7},
        {"2.5e+2", 250},
        {"4.9E-324", 5e-324},
        {"1.5D3", 1500, EorD},
        {"1.5d-1", 0.15, EorD},
        {"1.5D3", std::nullopt},
        {"2,6", std::nullopt},
        {"", std::nullopt},
        {".", std::nullopt},
        {"-", std::nullopt},
        {"1e", std::nullopt},
        {"1E+", std::nullopt},
        {"1.2.3", std::nullopt},
        {" 7", std::nullopt},
        {"0x10", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"--1", std::nullopt},
        {"1E400", std::nullopt},
        {"1E-400", std::nullopt},
        {"+-5", std::nullopt},
        {"1e5.5", std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.value, parseDecimal(row.text, row.letters)) << '"' << row.text << '"';
    EXPECT_TRUE(std::signbit(*parseDecimal("-0")));
}

TEST(numbers_test, a_decimal_prefix_is_the_longest_start_that_reads_as_one) {
    const struct {
        const char* text;
        std::size_t length; // 0: none
        double value;
        bool inRange;
    } rows[] = {
        {"13.5x", 4, 13.5, true}, {"2e3 ", 3, 2000, true}, {"7e", 1, 7, true}, {"-3:4", 2, -3, true},
        {"1e999", 5, 0, false},   {":12", 0, 0, true},     {"+.", 0, 0, true},
    };
    for (const auto& row : rows) {
        const std::optional<DecimalPrefix> prefix = decimalPrefix(row.text);
        ASSERT_EQ(row.length != 0, prefix.has_value()) << row.text;
        if (!prefix)
            continue;
        EXPECT_EQ(row.length, prefix->length) << row.text;
        EXPECT_EQ(row.value, prefix->value) << row.text;
        EXPECT_EQ(row.inRange, prefix->inRange) << row.text;
    }
}

TEST(numbers_test, whole_numbers_take_a_sign_and_digits_of_their_base_only) {
    const struct {
        const char* text;
        std::optional<int64_t> value;
    } signedRows[] = {
        {"42", 42},
        {"+42", 42},
        {"-42", -42},
        {"-9223372036854775808", INT64_MIN},
        {"9223372036854775807", INT64_MAX},
        {"9223372036854775808", std::nullopt},
        {"+-1", std::nullopt},
        {"", std::nullopt},
        {"+", std::nullopt},
        {" 1", std::nullopt},
        {"1.0", std::nullopt},
        {"1,000", std::nullopt},
    };
    for (const auto& row : signedRows)
        EXPECT_EQ(row.value, parseInteger(row.text)) << '"' << row.text << '"';
    const struct {
        const char* text;
        int base;
        std::optional<uint64_t> value;
    } unsignedRows[] = {
        {"18446744073709551615", 10, UINT64_MAX},
        {"18446744073709551616", 10, std::nullopt},
        {"400007", 16, 0x400007},
        {"aBc", 16, 0xABC},
        {"12", 10, 12},
        {"+12", 10, std::nullopt},
        {"-0", 10, std::nullopt},
        {"0x1", 16, std::nullopt},
        {"1f", 10, std::nullopt},
    };
    for (const auto& row : unsignedRows)
        EXPECT_EQ(row.value, parseUnsigned(row.text, row.base)) << '"' << row.text << '"';
}

TEST(numbers_test, numbers_are_written_with_a_point_and_no_grouping) {
    const struct {
        std::string written;
        const char* expected;
    } rows[] = {
        {formatInteger(1234567), "1234567"},
        {formatInteger(-42), "-42"},
        {formatInteger(12, 6), "000012"},
        {formatInteger(-12, 4), "-0012"},
        {formatInteger(1234567, 3), "1234567"},
        {formatFixed(12.5, 4), "12.5000"},
        {formatFixed(151.36374, 4), "151.3637"},
        {formatFixed(0.00005, 4), "0.0001"},
        {formatFixed(0, 3), "0.000"},
        {formatFixed(-2.25, 1), "-2.2"},
        {formatGeneral(12.5), "12.5"},
        {formatGeneral(12), "12"},
        {formatGeneral(1234567), "1.23457e+06"},
        {formatGeneral(0.0001), "0.0001"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, row.written);
}

TEST(numbers_test, shortest_digits_read_back_to_the_same_double) {
    const struct {
        double value;
        bool negative;
        const char* digits;
        int exponent;
    } rows[] = {
        {255, false, "255", 2}, {0.5, false, "5", -1}, {-0.0, true, "0", 0},
        {1e-5, false, "1", -5}, {0.1, false, "1", -1}, {-123.456, true, "123456", 2},
    };
    for (const auto& row : rows) {
        const ShortestDigits d = shortestDigits(row.value);
        EXPECT_EQ(row.negative, d.negative) << row.value;
        EXPECT_EQ(row.digits, d.digits) << row.value;
        EXPECT_EQ(row.exponent, d.exponent) << row.value;
    }
}

} // namespace
} // namespace bx

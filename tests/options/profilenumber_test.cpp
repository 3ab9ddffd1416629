#include "options/profilenumber.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include <gtest/gtest.h>

namespace bx {
namespace {

TEST(profilenumber_test, numbers_are_written_in_the_file_notation) {
    const struct {
        double value;
        const char* text;
    } rows[] = {
        {255, "255"},
        {0, "0"},
        {127.5, "127.5"},
        {0.5, ".5"},
        {31.48116, "31.48116"},
        {0.0123, ".0123"},
        {0.01, ".01"},
        {0.001, "1E-03"},
        {1e-5, "1E-05"},
        {1.5e-7, "1.5E-07"},
        {5e-324, "5E-324"},
        {1e15, "1E+15"},
        {123456789012345.0, "123456789012345"},
        {-0.5, "-.5"},
        {-0.0, "-0"},
        {0.1f, ".10000000149011612"},
        {2.5e+20, "2.5E+20"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.text, formatProfileNumber(row.value)) << row.value;
}

TEST(profilenumber_test, reader_accepts_older_and_hand_written_forms) {
    const struct {
        const char* text;
        double value;
    } rows[] = {
        {"255", 255},    {".5", 0.5},    {"0.5", 0.5},        {"31.48116", 31.48116},
        {"1E-05", 1e-5}, {"1e-5", 1e-5}, {"1.5E-07", 1.5e-7}, {"0.000015", 1.5e-5},
        {"2.5E+2", 250}, {"+3", 3},      {"-.5", -0.5},       {"5.", 5},
        {" 7\t", 7},     {"00012", 12},  {"1.000000", 1},     {"4.9E-324", 5e-324},
    };
    for (const auto& row : rows) {
        const std::optional<double> v = parseProfileNumber(row.text);
        ASSERT_TRUE(v.has_value()) << row.text;
        EXPECT_EQ(row.value, *v) << row.text;
    }
}

TEST(profilenumber_test, reader_refuses_what_is_not_a_plain_number) {
    for (const char* text :
         {"",    " ",   ".",   "-",   "+",     "E5",     "1E",    "1E+",   "1..2",   "1.2.3", "0x10",
          "inf", "nan", "1,5", "1 5", "1E400", "-1E400", "12abc", "\"5\"", "#TRUE#", "1e5.5", "--1"})
        EXPECT_FALSE(parseProfileNumber(text).has_value()) << '"' << text << '"';
}

// Every finite double, fractions of single-precision values included, must survive in bits.
TEST(profilenumber_test, every_finite_double_reads_back_bit_for_bit) {
    std::mt19937_64 bits(20240607);
    std::mt19937 floats(7);
    std::uniform_real_distribution<float> component(0.0f, 255.0f);
    int checked = 0;
    for (int i = 0; i < 200000; ++i) {
        double v = std::bit_cast<double>(bits());
        if (i % 2 == 1)
            v = (component(floats) + static_cast<double>(component(floats))) / 2; // a blend of two floats
        if (!std::isfinite(v))
            continue;
        const std::optional<double> back = parseProfileNumber(formatProfileNumber(v));
        ASSERT_TRUE(back.has_value()) << formatProfileNumber(v);
        ASSERT_EQ(std::bit_cast<uint64_t>(v), std::bit_cast<uint64_t>(*back)) << formatProfileNumber(v);
        ++checked;
    }
    for (double v : {std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
                     std::numeric_limits<double>::denorm_min(), 255.0 - 1e-13, 1e-3, 0.01 - 1e-18})
        EXPECT_EQ(std::bit_cast<uint64_t>(v),
                  std::bit_cast<uint64_t>(*parseProfileNumber(formatProfileNumber(v))));
    EXPECT_GT(checked, 150000);
}

} // namespace
} // namespace bx

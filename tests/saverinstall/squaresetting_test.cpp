#include "saverinstall/squaresetting.h"

#include <gtest/gtest.h>

namespace bx {
namespace {

struct SizeCase {
    const char* name;
    std::optional<std::string> text;
    double size;
};

class squaresetting_read : public testing::TestWithParam<SizeCase> {};

TEST_P(squaresetting_read, takes_numbers_from_2_to_25_else_6) {
    EXPECT_EQ(GetParam().size, squareSizeOfText(GetParam().text));
}

const SizeCase sizeCases[] = {
    {"absent", std::nullopt, 6},
    {"twelve", "12", 12},
    {"lowest", "2", 2},
    {"highest", "25", 25},
    {"fraction", "12.5", 12.5},
    {"blanks", " 9 ", 9},
    {"thirty", "30", 6},
    {"one", "1", 6},
    {"letters", "abc", 6},
    {"empty", "", 6},
    {"number_then_text", "12px", 6},
    {"hexadecimal", "0x0c", 6},
    {"infinity", "inf", 6},
    {"negative", "-12", 6},
    {"comma_decimal", "12,5", 6},
};

INSTANTIATE_TEST_SUITE_P(cases, squaresetting_read, testing::ValuesIn(sizeCases),
                         [](const testing::TestParamInfo<SizeCase>& info) { return info.param.name; });

TEST(squaresetting_test, sizes_are_stored_as_short_decimal_text) {
    EXPECT_EQ("12", squareSizeText(12));
    EXPECT_EQ("12.5", squareSizeText(12.5));
}

} // namespace
} // namespace bx

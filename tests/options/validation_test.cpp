#include <gtest/gtest.h>

#include <optional>

#include "options/validation.h"

namespace {

using O = bx::SimulationOptions;

const bx::OptionField& box(int O::*option) {
    return bx::optionOf(option);
}

struct BoxCase {
    const char* name;
    int O::*option;
    const char* typed;
    const char* shown;
    int32_t slider;
};

class option_text_boxes : public testing::TestWithParam<BoxCase> {};

TEST_P(option_text_boxes, settle_silently) {
    bx::SimulationOptions stored; // growthRate 2, decayRate 3, gridSizeX 50 ...
    const auto& c = GetParam();
    const bx::ValidatedText v = bx::validateText(box(c.option), c.typed, stored, 1024, 768);
    EXPECT_EQ(c.shown, v.text);
    EXPECT_EQ(c.slider, v.sliderValue);
}

INSTANTIATE_TEST_SUITE_P(
    validation_test, option_text_boxes,
    testing::Values(
        BoxCase{"letter_after_seven_gives_the_stored_value", &O::growthRate, "7a", "2", 2},
        BoxCase{"too_large_rate_gives_its_bound", &O::decayRate, "300", "255", 255},
        BoxCase{"lone_minus_gives_the_stored_value", &O::decayRate, "-", "3", 3},
        BoxCase{"empty_text_gives_the_stored_value", &O::startOrganisms, "", "10", 10},
        BoxCase{"lone_point_is_not_a_number", &O::environmentStartDecay, ".", "10", 10},
        BoxCase{"negative_gives_zero", &O::growthRate, "-4", "0", 0},
        BoxCase{"half_stays_and_rounds_to_even", &O::growthRate, "2.5", "2.5", 2},
        BoxCase{"three_and_a_half_rounds_up", &O::growthRate, "3.5", "3.5", 4},
        BoxCase{"grid_above_hundred_gives_hundred", &O::gridSizeX, "150", "100", 100},
        BoxCase{"grid_zero_stands", &O::gridSizeY, "0", "0", 0},
        BoxCase{"exponent_inside_a_number_is_accepted", &O::startEnvironments, "1e3", "1e3", 1000},
        BoxCase{"start_counts_stop_at_two_thousand", &O::startEnvironments, "2001", "2000", 2000},
        BoxCase{"frequencies_stop_at_a_hundred_million", &O::asteroidFrequency, "123456789", "100000000",
                100000000},
        BoxCase{"frequency_letters_give_the_stored_value", &O::mutationFrequency, "x", "1000000", 1000000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(validation_test, grid_boxes_are_limited_by_a_narrow_screen_after_the_rule_for_zero) {
    bx::SimulationOptions stored;
    EXPECT_EQ("60", bx::validateText(box(&O::gridSizeX), "80", stored, 60, 40).text);
    EXPECT_EQ("40", bx::validateText(box(&O::gridSizeY), "250", stored, 60, 40).text);
    EXPECT_EQ("0", bx::validateText(box(&O::gridSizeY), "-5", stored, 60, 40).text);
}

TEST(validation_test, a_stored_value_out_of_range_is_corrected_again) {
    bx::SimulationOptions stored;
    stored.growthRate = 400; // only a hand-edited profile brings this
    EXPECT_EQ("255", bx::validateText(box(&O::growthRate), "?", stored, 1024, 768).text);
}

TEST(validation_test, text_to_integer_rounds_halves_to_even_and_saturates) {
    EXPECT_EQ(2, bx::textToInteger("2.5"));
    EXPECT_EQ(4, bx::textToInteger("3.5"));
    EXPECT_EQ(-2, bx::textToInteger("-2.5"));
    EXPECT_EQ(7, bx::textToInteger(" 7 "));
    EXPECT_EQ(0, bx::textToInteger("seven"));
    EXPECT_EQ(2147483647, bx::textToInteger("1e30"));
    EXPECT_EQ(-2147483647 - 1, bx::textToInteger("-1e30"));
}

TEST(validation_test, numbers_need_a_digit_and_a_whole_exponent) {
    EXPECT_FALSE(bx::numericValue("+").has_value());
    EXPECT_FALSE(bx::numericValue("1e").has_value());
    EXPECT_FALSE(bx::numericValue("1.2.3").has_value());
    EXPECT_FALSE(bx::numericValue("1e999").has_value());
    EXPECT_DOUBLE_EQ(-0.5, *bx::numericValue("-.5"));
    EXPECT_DOUBLE_EQ(1500, *bx::numericValue("1.5D3"));
}

// Typed text in a decimal-comma locale: one comma is the point, and the point still is one.
TEST(validation_test, a_comma_is_the_point_only_where_the_locale_has_it) {
    using bx::DecimalMark;
    const struct {
        const char* typed;
        DecimalMark mark;
        std::optional<double> value;
    } cases[] = {
        {"2,5", DecimalMark::PointOrComma, 2.5},
        {" -,5 ", DecimalMark::PointOrComma, -0.5},
        {"1,5D3", DecimalMark::PointOrComma, 1500},
        {"2.6", DecimalMark::PointOrComma, 2.6},
        {"1000000,", DecimalMark::PointOrComma, 1e6},
        {"1.000,5", DecimalMark::PointOrComma, std::nullopt},
        {"2,5,1", DecimalMark::PointOrComma, std::nullopt},
        {",", DecimalMark::PointOrComma, std::nullopt},
        {"2,5", DecimalMark::Point, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value, bx::numericValue(c.typed, c.mark)) << c.typed;
    bx::SimulationOptions stored; // mutationFrequency 1000000
    EXPECT_EQ("2,5", bx::validateText(box(&O::mutationFrequency), "2,5", stored, 1024, 768,
                                      DecimalMark::PointOrComma)
                         .text);
    EXPECT_EQ(2, bx::textToInteger("2,5", DecimalMark::PointOrComma));
}

TEST(validation_test, grid_sliders_fall_back_to_a_hundred) {
    EXPECT_EQ(100, bx::gridSliderValue(101));
    EXPECT_EQ(100, bx::gridSliderValue(974));
    EXPECT_EQ(57, bx::gridSliderValue(57));
}

} // namespace

#include "platform/widgetparts.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}
QT_END_NAMESPACE

namespace {

struct PlaceCase {
    std::string name;
    QRect beside;
    QSize frame;
    QRect expected;
    friend void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }
};

class place_beside : public testing::TestWithParam<PlaceCase> {};

// On a 1280 x 1024 screen; the gap between the two windows is 8 pixels.
TEST_P(place_beside, opens_beside_the_window_and_wholly_on_the_screen) {
    const PlaceCase& c = GetParam();
    EXPECT_EQ(c.expected, bx::placeBeside(c.beside, c.frame, QRect(0, 0, 1280, 1024)));
}

INSTANTIATE_TEST_SUITE_P(
    widgetparts_test, place_beside,
    testing::Values(
        PlaceCase{"right_when_there_is_room", {20, 40, 400, 300}, {500, 400}, {428, 40, 500, 400}},
        PlaceCase{"left_when_only_there", {800, 40, 400, 300}, {500, 400}, {292, 40, 500, 400}},
        PlaceCase{"narrowed_to_the_roomier_side", {20, 20, 580, 400}, {762, 540}, {608, 20, 672, 540}},
        PlaceCase{
            "at_the_edge_when_even_half_is_too_wide", {100, 0, 1000, 300}, {500, 300}, {780, 0, 500, 300}},
        PlaceCase{"raised_to_stay_above_the_bottom", {20, 900, 300, 100}, {500, 400}, {328, 624, 500, 400}},
        PlaceCase{"shrunk_to_the_screen_then_beside", {0, 0, 10, 10}, {2000, 2000}, {18, 0, 1262, 1024}}),
    [](const auto& info) { return info.param.name; });

} // namespace

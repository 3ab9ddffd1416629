#include "platform/widgetparts.h"

#include <gtest/gtest.h>

#include <optional>
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

struct ClearCase {
    std::string name;
    QRect taken;
    QSize frame, least;
    std::optional<QRect> expected;
    friend void PrintTo(const ClearCase& c, std::ostream* os) { *os << c.name; }
};

class place_clear : public testing::TestWithParam<ClearCase> {};

// On a 1280 x 1024 screen: clear of the panel and canvas (`taken`), 8 pixels from them.
TEST_P(place_clear, opens_clear_of_the_programs_windows) {
    const ClearCase& c = GetParam();
    EXPECT_EQ(c.expected, bx::placeClear(c.taken, c.frame, c.least, QRect(0, 0, 1280, 1024)));
}

INSTANTIATE_TEST_SUITE_P(
    widgetparts_test, place_clear,
    testing::Values(
        ClearCase{"right_when_it_fits", {20, 40, 600, 400}, {500, 400}, {250, 200}, QRect(628, 40, 500, 400)},
        ClearCase{
            "left_when_only_there", {700, 40, 560, 400}, {500, 400}, {250, 200}, QRect(192, 40, 500, 400)},
        ClearCase{"below_when_the_sides_are_full",
                  {20, 40, 1200, 400},
                  {760, 500},
                  {380, 250},
                  QRect(20, 448, 760, 500)},
        ClearCase{
            "above_when_only_there", {0, 600, 1280, 400}, {760, 500}, {380, 250}, QRect(0, 92, 760, 500)},
        ClearCase{"the_roomiest_side_narrowed_or_lowered",
                  {20, 40, 760, 480},
                  {760, 600},
                  {380, 300},
                  QRect(20, 528, 760, 496)},
        ClearCase{"nothing_when_no_side_has_room_for_the_least",
                  {20, 40, 1200, 900},
                  {760, 600},
                  {380, 300},
                  std::nullopt}),
    [](const auto& info) { return info.param.name; });

} // namespace

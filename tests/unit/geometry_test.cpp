// Screen arithmetic: the offset between the system's workspace coordinates and screen
// coordinates, and moves that stop at the int32 limits.
#include "base/geometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace quilla {
namespace {

constexpr auto kMin = std::numeric_limits<int32_t>::min();
constexpr auto kMax = std::numeric_limits<int32_t>::max();

TEST(WorkAreaOffset, IsWhereTheWorkAreaStartsOnItsMonitor) {
    constexpr Rect kPrimary{0, 0, 1280, 1024};
    EXPECT_EQ(work_area_offset(kPrimary, {0, 0, 1280, 984}), (Point{0, 0})) << "bar at the bottom";
    EXPECT_EQ(work_area_offset(kPrimary, {0, 40, 1280, 1024}), (Point{0, 40})) << "bar at the top";
    EXPECT_EQ(work_area_offset(kPrimary, {60, 0, 1280, 1024}), (Point{60, 0})) << "bar on the left";
    EXPECT_EQ(work_area_offset({-1920, 0, 0, 1080}, {-1920, 30, 0, 1080}), (Point{0, 30}))
        << "a second monitor on the left with a bar at its top";
    EXPECT_EQ(work_area_offset({kMax, kMin, kMax, kMin}, {kMin, kMax, kMin, kMax}),
              (Point{kMin, kMax}))
        << "no overflow";
}

TEST(Translate, MovesBothCoordinatesAndSaturates) {
    EXPECT_EQ(translate({100, 60}, {0, 40}), (Point{100, 100}));
    EXPECT_EQ(translate({-5, 7}, {60, -10}), (Point{55, -3}));
    EXPECT_EQ(translate({kMin + 1, kMax - 1}, {-1, 1}), (Point{kMin, kMax}));
    EXPECT_EQ(translate({kMin, kMax}, {-1, 1}), (Point{kMin, kMax}));  // an absent position
}

}  // namespace
}  // namespace quilla

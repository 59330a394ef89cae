// Where the overlay opens: saved positions kept on the screen.
#include "app/window_position.h"

#include <gtest/gtest.h>

#include <limits>

namespace quilla {
namespace {

struct ClampCase {
    int32_t x, y;
    int32_t want_x, want_y;
};

TEST(ClampToScreen, KeepsTheWindowOnA1280By1024Screen) {
    constexpr auto kMin = std::numeric_limits<int32_t>::min();
    constexpr auto kMax = std::numeric_limits<int32_t>::max();
    const ClampCase cases[] = {
        {kMin, kMin, 0, 0},        // no saved position
        {-50, 10, 0, 10},          // off the left edge
        {1300, 1000, 1260, 1000},  // past the right edge
        {1260, 1004, 1260, 1004},  // exactly at the edges
        {1261, 1005, 1260, 1004},  // one pixel past them
        {kMax, kMax, 1260, 1004},  // no overflow
        {300, 200, 300, 200},
    };
    for (const auto& c : cases) {
        const WindowOrigin got = clamp_to_screen(c.x, c.y, 20, 20, 1280, 1024);
        EXPECT_EQ(got.x, c.want_x) << c.x;
        EXPECT_EQ(got.y, c.want_y) << c.y;
    }
}

}  // namespace
}  // namespace quilla

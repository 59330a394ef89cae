// Where the overlay opens: saved positions kept on the screen area of all monitors.
#include "app/window_position.h"

#include <gtest/gtest.h>

#include <limits>

namespace quilla {
namespace {

TEST(ClampToScreen, KeepsATwentyPixelWindowOnTheScreenArea) {
    constexpr auto kMin = std::numeric_limits<int32_t>::min();
    constexpr auto kMax = std::numeric_limits<int32_t>::max();
    constexpr Rect kOneMonitor{0, 0, 1280, 1024};
    // A 1920 x 1080 monitor to the left of the 1280 x 1024 primary one.
    constexpr Rect kSecondOnTheLeft{-1920, 0, 1280, 1080};
    struct Case {
        Rect screen;
        Point saved;
        Point want;
    };
    const Case cases[] = {
        {kOneMonitor, {kMin, kMin}, {0, 0}},           // no saved position
        {kOneMonitor, {-50, 10}, {0, 10}},             // off the left edge
        {kOneMonitor, {1300, 1000}, {1260, 1000}},     // past the right edge
        {kOneMonitor, {1260, 1004}, {1260, 1004}},     // exactly at the edges
        {kOneMonitor, {1261, 1005}, {1260, 1004}},     // one pixel past them
        {kOneMonitor, {kMax, kMax}, {1260, 1004}},     // no overflow
        {kSecondOnTheLeft, {-500, 300}, {-500, 300}},  // kept on the second monitor
        {kSecondOnTheLeft, {kMin, kMin}, {-1920, 0}},  // to the area's own edges
        {kSecondOnTheLeft, {-3000, 1075}, {-1920, 1060}},
        {{kMin, kMin, kMax, kMax}, {kMax, kMin}, {kMax - 20, kMin}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(clamp_to_screen(c.saved, {20, 20}, c.screen), c.want)
            << c.saved.x << "," << c.saved.y << " on " << c.screen.left << ".." << c.screen.right;
    }
}

}  // namespace
}  // namespace quilla

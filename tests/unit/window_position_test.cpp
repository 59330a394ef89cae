// Where the overlay opens: saved positions kept on the screen area of all monitors, and
// moved onto the nearest monitor from a part of that area that lies on none.
#include "app/window_position.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

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
        {kOneMonitor, {0, 0}, {0, 0}},                 // exactly at the top-left edges
        {kOneMonitor, {-1, -1}, {0, 0}},               // one pixel past them
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

// Monitors as rectangles; the nearest work area is the one the case names, as the system
// would choose it.
class FakeMonitors : public MonitorCalls {
  public:
    FakeMonitors(const std::vector<Rect>& monitors, std::optional<Rect> nearest)
        : monitors_(monitors), nearest_(nearest) {}
    bool touches_a_monitor(const Rect& w) noexcept override {
        return std::any_of(monitors_.begin(), monitors_.end(), [&](const Rect& m) {
            return w.left < m.right && m.left < w.right && w.top < m.bottom && m.top < w.bottom;
        });
    }
    std::optional<Rect> nearest_work_area(const Rect&) noexcept override { return nearest_; }

  private:
    const std::vector<Rect>& monitors_;
    std::optional<Rect> nearest_;
};

TEST(OpeningPosition, MovesAWindowOnNoMonitorIntoTheNearestWorkArea) {
    constexpr Rect kPrimary{0, 0, 1280, 1024};
    constexpr Rect kPrimaryWork{0, 0, 1280, 984};  // taskbar at the bottom
    const std::vector<Rect> one = {kPrimary};
    const std::vector<Rect> larger_on_the_left = {kPrimary, {-1920, 0, 0, 1080}};
    const std::vector<Rect> higher_on_the_right = {kPrimary, {1280, -200, 3200, 880}};
    struct Case {
        const std::vector<Rect>& monitors;
        Rect screen;
        Point saved;
        std::optional<Rect> nearest;
        Point want;
    };
    const Case cases[] = {
        {one, kPrimary, {100, 1000}, kPrimaryWork, {100, 1000}},  // one monitor: stays
        {one, kPrimary, {1300, -5}, kPrimaryWork, {1260, 0}},     // clamped only
        {larger_on_the_left, {-1920, 0, 1280, 1080}, {100, 1050}, kPrimaryWork, {100, 964}},
        {larger_on_the_left, {-1920, 0, 1280, 1080}, {100, 1023}, kPrimaryWork, {100, 1023}},
        {larger_on_the_left, {-1920, 0, 1280, 1080}, {100, 1050}, std::nullopt, {100, 1050}},
        {higher_on_the_right, {0, -200, 3200, 1024}, {10, -100}, Rect{60, 0, 1280, 1024}, {60, 0}},
        {higher_on_the_right,
         {0, -200, 3200, 1024},
         {3000, 1000},
         Rect{1280, -200, 3200, 840},
         {3000, 820}},
    };
    for (const Case& c : cases) {
        FakeMonitors monitors(c.monitors, c.nearest);
        EXPECT_EQ(opening_position(c.saved, {20, 20}, c.screen, monitors), c.want)
            << c.saved.x << "," << c.saved.y << " among " << c.monitors.size() << " monitors";
    }
}

}  // namespace
}  // namespace quilla

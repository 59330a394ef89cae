// Clamps the saved position axis by axis, then to the nearest monitor's work area.
#include "app/window_position.h"

#include "base/saturating.h"

namespace quilla {
namespace {

int32_t clamp_axis(int32_t pos, int32_t size, int32_t first, int32_t end) noexcept {
    if (pos < first) {
        pos = first;
    }
    if (int64_t{pos} + size > end) {
        pos = clamp_to_int32(int64_t{end} - size);
    }
    return pos;
}

Rect window_rect(Point origin, Size window) noexcept {
    return {origin.x, origin.y, clamp_to_int32(int64_t{origin.x} + window.width),
            clamp_to_int32(int64_t{origin.y} + window.height)};
}

}  // namespace

Point clamp_to_screen(Point saved, Size window, const Rect& screen) noexcept {
    return {clamp_axis(saved.x, window.width, screen.left, screen.right),
            clamp_axis(saved.y, window.height, screen.top, screen.bottom)};
}

Point opening_position(Point saved, Size window, const Rect& screen,
                       MonitorCalls& monitors) noexcept {
    const Point on_screen = clamp_to_screen(saved, window, screen);
    const Rect rect = window_rect(on_screen, window);
    if (monitors.touches_a_monitor(rect)) {
        return on_screen;
    }
    const std::optional<Rect> work = monitors.nearest_work_area(rect);
    return work ? clamp_to_screen(on_screen, window, *work) : on_screen;
}

}  // namespace quilla

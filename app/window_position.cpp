// Where the overlay window opens: the saved position kept on the screen.
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

}  // namespace

Point clamp_to_screen(Point saved, Size window, const Rect& screen) noexcept {
    return {clamp_axis(saved.x, window.width, screen.left, screen.right),
            clamp_axis(saved.y, window.height, screen.top, screen.bottom)};
}

}  // namespace quilla

// Where the overlay window opens: the saved position kept on the screen.
#include "app/window_position.h"

namespace quilla {
namespace {

int32_t clamp_axis(int32_t pos, int32_t size, int32_t screen) noexcept {
    if (pos < 0) {
        pos = 0;
    }
    if (int64_t{pos} + size > screen) {
        pos = static_cast<int32_t>(int64_t{screen} - size);
    }
    return pos;
}

}  // namespace

WindowOrigin clamp_to_screen(int32_t x, int32_t y, int32_t width, int32_t height,
                             int32_t screen_width, int32_t screen_height) noexcept {
    return {clamp_axis(x, width, screen_width), clamp_axis(y, height, screen_height)};
}

}  // namespace quilla

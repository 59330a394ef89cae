// Where the overlay window opens: the saved position kept on the screen.
#pragma once

#include <cstdint>

namespace quilla {

struct WindowOrigin {
    int32_t x;
    int32_t y;
};

// A negative coordinate becomes 0; then a window that would stick out past the right or
// bottom edge is moved back so it ends at the edge. Never overflows.
WindowOrigin clamp_to_screen(int32_t x, int32_t y, int32_t width, int32_t height,
                             int32_t screen_width, int32_t screen_height) noexcept;

}  // namespace quilla

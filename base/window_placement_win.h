// Where a top-level window's normal (restored) position lies on the screen.
#pragma once

#include <windows.h>

#include <optional>

#include "base/geometry.h"

namespace quilla {

// The top-left corner of the window's normal position in screen coordinates, or nothing
// when it cannot be read. The system reports the normal position of a window without
// WS_EX_TOOLWINDOW counted from the work area of its monitor; with an application bar
// (the taskbar) at the top or left, that differs from where the window is on the screen,
// so it is moved back by the work area's offset on that monitor.
std::optional<Point> normal_position_on_screen(HWND window) noexcept;

}  // namespace quilla

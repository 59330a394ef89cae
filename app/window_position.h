// Where the overlay window opens: the saved position kept on the screen.
#pragma once

#include <cstdint>

#include "base/geometry.h"

namespace quilla {

// Keeps a window of the given size on the screen area (all monitors' bounding rectangle):
// a coordinate before the area's left or top edge moves to that edge; then a window that
// would stick out past the right or bottom edge is moved back so it ends at the edge.
// Never overflows.
Point clamp_to_screen(Point saved, Size window, const Rect& screen) noexcept;

}  // namespace quilla

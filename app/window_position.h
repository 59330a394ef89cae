// Where the overlay window opens: the saved position kept on the screen, and on a monitor.
#pragma once

#include <cstdint>
#include <optional>

#include "base/geometry.h"

namespace quilla {

// Keeps a window of the given size on the screen area (all monitors' bounding rectangle):
// a coordinate before the area's left or top edge moves to that edge; then a window that
// would stick out past the right or bottom edge is moved back so it ends at the edge.
// Never overflows.
Point clamp_to_screen(Point saved, Size window, const Rect& screen) noexcept;

// The monitors, as the system answers for one window rectangle: the program passes the
// system's calls (app/overlay_window_win.cpp), tests their own.
class MonitorCalls {
  public:
    virtual ~MonitorCalls() = default;
    // Whether the rectangle shares at least one pixel with a monitor.
    virtual bool touches_a_monitor(const Rect& window) noexcept = 0;
    // The work area (the monitor less its application bars) of the monitor nearest to the
    // rectangle; nothing when it cannot be read.
    virtual std::optional<Rect> nearest_work_area(const Rect& window) noexcept = 0;
};

// Where the overlay opens: the saved position kept on the screen area (clamp_to_screen).
// With monitors of different sizes parts of that area lie on no monitor, where nobody
// would see the captionless overlay: a window that touches no monitor there is moved into
// the work area of the nearest monitor, in the same way. On one monitor, which is the
// whole screen area, nothing more changes.
Point opening_position(Point saved, Size window, const Rect& screen,
                       MonitorCalls& monitors) noexcept;

}  // namespace quilla

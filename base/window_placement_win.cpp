// Turns a window's placement (workspace coordinates) into screen coordinates.
#include "base/window_placement_win.h"

#include "base/trace_win.h"

namespace quilla {
namespace {

Rect to_rect(const RECT& r) noexcept {
    return {r.left, r.top, r.right, r.bottom};
}

// The offset from workspace to screen coordinates for the window's monitor.
Point workspace_offset(HWND window) noexcept {
    if ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) {
        return {0, 0};  // a tool window's placement is in screen coordinates already
    }
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!check(GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info),
               "GetMonitorInfoW")) {
        return {0, 0};
    }
    return work_area_offset(to_rect(info.rcMonitor), to_rect(info.rcWork));
}

}  // namespace

std::optional<Point> normal_position_on_screen(HWND window) noexcept {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!check(GetWindowPlacement(window, &placement), "GetWindowPlacement")) {
        return std::nullopt;
    }
    const Point workspace{placement.rcNormalPosition.left, placement.rcNormalPosition.top};
    return translate(workspace, workspace_offset(window));
}

}  // namespace quilla

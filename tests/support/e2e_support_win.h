// What the end-to-end tests share beyond running programs: the rectangles of windows.
#pragma once

#include <windows.h>

#include "tools/launch/process_win.h"

namespace quilla::e2e {

using launch::ChildProcess;
using launch::read_file;
using launch::ScratchDirectory;
using launch::sync_with;
using launch::to_windows_path;
using launch::wait_until;

inline RECT window_rect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

inline int height_of(HWND hwnd) {
    const RECT r = window_rect(hwnd);
    return r.bottom - r.top;
}

// The overlay's lower-left corner on the lower-left corner of the host's client area.
inline bool anchored(HWND overlay, HWND host) {
    RECT client{};
    GetClientRect(host, &client);
    MapWindowPoints(host, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const RECT o = window_rect(overlay);
    return o.left == client.left && o.bottom == client.bottom;
}

inline bool is_topmost(HWND hwnd) {
    return (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

}  // namespace quilla::e2e

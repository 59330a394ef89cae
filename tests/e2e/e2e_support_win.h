// What the end-to-end tests share beyond running programs: waiting with the tests'
// usual deadline, and the rectangles of windows.
#pragma once

#include <windows.h>

#include "tests/support/test_process_win.h"

namespace quilla::e2e {

using test_support::ChildProcess;
using test_support::read_file;
using test_support::ScratchDirectory;
using test_support::to_windows_path;

// Polls condition (serving this thread's messages) until it holds or the deadline passes.
template <typename Condition>
bool wait_until(Condition condition, DWORD timeout_ms = 20000) {
    return test_support::wait_until(condition, timeout_ms);
}

inline RECT window_rect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

inline int height_of(HWND hwnd) {
    const RECT r = window_rect(hwnd);
    return r.bottom - r.top;
}

inline bool is_topmost(HWND hwnd) {
    return (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

}  // namespace quilla::e2e

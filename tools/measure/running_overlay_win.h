// The measuring tools' shared steps with a running QuillaWS.exe: waiting until it has
// drawn, and closing it as the system would.
#pragma once

#include <windows.h>

#include <optional>

#include "app/overlay_window_win.h"
#include "overlay/overlay_layout.h"
#include "tests/support/test_process_win.h"

namespace quilla::measure {

inline constexpr DWORD kStartTimeoutMs = 20000;
inline constexpr DWORD kExitTimeoutMs = 30000;

// The overlay window once its worker has drawn (it has left its initial size); null when
// the program ended or did not draw in time.
inline HWND wait_until_drawn(const test_support::ChildProcess& overlay) {
    HWND window = nullptr;
    const bool drawn = test_support::wait_until(
        [&] {
            window = overlay.find_own_window(kOverlayClassName);
            RECT r{};
            return (window && GetWindowRect(window, &r) &&
                    (r.right - r.left != kEmptyOverlaySide ||
                     r.bottom - r.top != kEmptyOverlaySide)) ||
                   overlay.has_exited();
        },
        kStartTimeoutMs, overlay.process());
    return drawn && !overlay.has_exited() ? window : nullptr;
}

// Closes the overlay window as the system would; the exit code, or -1 when the program did
// not exit in time.
inline long close_overlay(const test_support::ChildProcess& overlay, HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    const std::optional<DWORD> code = overlay.wait_exit(kExitTimeoutMs);
    return code ? static_cast<long>(*code) : -1;
}

}  // namespace quilla::measure

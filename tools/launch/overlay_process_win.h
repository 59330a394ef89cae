// Running QuillaWS.exe for the end-to-end tests and the measuring tools alike: started in a
// folder, its overlay window found, waited for until drawn, and closed as the system
// closes it, with the time the close took.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/overlay_window_win.h"
#include "overlay/overlay_layout.h"
#include "tools/launch/process_win.h"

namespace quilla::launch {

// Started in dir, under the Unix locale when one is given (see ChildProcess).
inline std::unique_ptr<ChildProcess> start_overlay_process(const std::string& exe,
                                                           const std::string& dir,
                                                           const char* unix_locale = nullptr) {
    return std::make_unique<ChildProcess>(exe, std::vector<std::string>{}, dir, unix_locale);
}

// The overlay window once it exists; null when the program ended or did not make it
// within the usual deadline.
inline HWND wait_for_overlay_window(const ChildProcess& overlay) {
    HWND window = nullptr;
    wait_until(
        [&] {
            window = overlay.find_own_window(kOverlayClassName);
            return window != nullptr || overlay.has_exited();
        },
        kUsualWaitMs, overlay.process());
    return window;
}

// The overlay window once its worker has drawn (it has left its initial size); null when
// the program ended or did not draw within the usual deadline.
inline HWND wait_until_drawn(const ChildProcess& overlay) {
    HWND window = nullptr;
    const bool drawn = wait_until(
        [&] {
            window = overlay.find_own_window(kOverlayClassName);
            RECT r{};
            return (window && GetWindowRect(window, &r) &&
                    (r.right - r.left != kEmptyOverlaySide ||
                     r.bottom - r.top != kEmptyOverlaySide)) ||
                   overlay.has_exited();
        },
        kUsualWaitMs, overlay.process());
    return drawn && !overlay.has_exited() ? window : nullptr;
}

struct Closed {
    std::optional<DWORD> exit_code;  // nothing when the program did not exit in time
    ULONGLONG took_ms = 0;           // from the close message to the end of the process
};

// Closes the overlay window as the system would (WM_CLOSE) and waits for the program to
// end, within three times the usual deadline.
inline Closed close_overlay_process(const ChildProcess& overlay, HWND window) {
    const ULONGLONG start = GetTickCount64();
    PostMessageA(window, WM_CLOSE, 0, 0);
    Closed closed;
    closed.exit_code = overlay.wait_exit(3 * kUsualWaitMs);
    closed.took_ms = GetTickCount64() - start;
    return closed;
}

}  // namespace quilla::launch

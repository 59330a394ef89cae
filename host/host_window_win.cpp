// Finding, resizing and prompting the host application's windows.
#include "host/host_window_win.h"

#include "host/base_height.h"
#include "host/timed_poll.h"

#include <array>
#include <limits>
#include <optional>

namespace quilla {
namespace {

// No move, no Z-order change, no owner Z-order, no WM_WINDOWPOSCHANGING, deferred erase,
// asynchronous: the host resizes itself on its own thread without being held up by us.
constexpr UINT kResizeFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING |
                              SWP_DEFERERASE | SWP_ASYNCWINDOWPOS;

constexpr BYTE kKeyDownBit = 0x80;

}  // namespace

std::optional<Size> outer_size(HWND window) noexcept {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) {
        return std::nullopt;
    }
    const int64_t width = int64_t{rect.right} - rect.left;
    const int64_t height = int64_t{rect.bottom} - rect.top;
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    if (width < 0 || height < 0 || width > kMax || height > kMax) {
        return std::nullopt;
    }
    return Size{static_cast<int32_t>(width), static_cast<int32_t>(height)};
}

std::mutex& host_layout_mutex() {
    static auto* mutex = new std::mutex;  // never destroyed: the worker may outlive main
    return *mutex;
}

HWND find_host_main_window() noexcept {
    HWND host = FindWindowA(kHostMainClass, nullptr);
    if (!host) {
        host = FindWindowA(kHostTrialMainClass, nullptr);
    }
    return host;
}

HWND find_inventory_window() noexcept {
    return FindWindowA(kInventoryClass, kInventoryTitle);
}

bool resize_host_height(HWND host, int32_t outer_width, int32_t height) noexcept {
    if (!host) {
        return false;
    }
    return SetWindowPos(host, nullptr, 0, 0, outer_width, height, kResizeFlags) != FALSE;
}

void restore_host_height() noexcept {
    HWND host = find_host_main_window();
    if (!host) {
        return;
    }
    const std::optional<Size> size = outer_size(host);
    if (!size) {
        return;
    }
    const std::optional<int32_t> base = base_height_for_width(size->width);
    if (base && size->height != *base) {
        resize_host_height(host, size->width, *base);
    }
}

PollClock system_poll_clock() {
    return {[] { return static_cast<uint64_t>(GetTickCount64()); }, [] { Sleep(1); }};
}

void request_inventory_window(const PollClock& clock) noexcept {
    HWND host = find_host_main_window();
    // A hung host would not come forward anyway, and attaching to its input would tie our
    // input to a thread that handles none.
    if (!host || find_inventory_window() || IsHungAppWindow(host)) {
        return;
    }
    const DWORD host_thread = GetWindowThreadProcessId(host, nullptr);
    const DWORD own_thread = GetCurrentThreadId();
    const bool attached = host_thread != 0 && host_thread != own_thread &&
                          AttachThreadInput(own_thread, host_thread, TRUE) != FALSE;

    std::array<BYTE, 256> keys{};
    const bool have_keys = GetKeyboardState(keys.data()) != FALSE;
    const BYTE saved_f3 = keys[VK_F3];
    keys[VK_F3] = static_cast<BYTE>(saved_f3 | kKeyDownBit);
    BringWindowToTop(host);
    SetForegroundWindow(host);
    if (have_keys) {
        SetKeyboardState(keys.data());
    }

    try {
        poll_within(kInventoryRequestWaitMs, clock,
                    [] { return find_inventory_window() != nullptr; });
    } catch (...) {
        // A clock without its functions: F3 is given back all the same.
    }

    // A fresh reading: Shift, Ctrl or any other key that changed during the wait keeps
    // its new state.
    std::array<BYTE, 256> now{};
    if (have_keys && GetKeyboardState(now.data())) {
        now[VK_F3] = saved_f3;
        SetKeyboardState(now.data());
    }
    if (attached) {
        AttachThreadInput(own_thread, host_thread, FALSE);
    }
}

}  // namespace quilla

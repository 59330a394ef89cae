// Finding, resizing and prompting the host application's windows.
#include "host/host_window_win.h"

#include "host/base_height.h"

#include <array>
#include <limits>
#include <optional>

namespace quilla {
namespace {

// No move, no Z-order change, no owner Z-order, no WM_WINDOWPOSCHANGING, deferred erase,
// asynchronous: the host resizes itself on its own thread without being held up by us.
constexpr UINT kResizeFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING |
                              SWP_DEFERERASE | SWP_ASYNCWINDOWPOS;

constexpr int kInventoryPolls = 100;
constexpr BYTE kKeyDownBit = 0x80;

// Polls for the inventory window after Sleep(1) each time; true once it exists.
bool wait_for_inventory_window() noexcept {
    for (int poll = 0; poll < kInventoryPolls; ++poll) {
        Sleep(1);
        if (find_inventory_window()) {
            return true;
        }
    }
    return false;
}

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

void request_inventory_window() noexcept {
    HWND host = find_host_main_window();
    if (!host || find_inventory_window()) {
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

    wait_for_inventory_window();

    if (have_keys) {
        keys[VK_F3] = saved_f3;
        SetKeyboardState(keys.data());
    }
    if (attached) {
        AttachThreadInput(own_thread, host_thread, FALSE);
    }
}

}  // namespace quilla

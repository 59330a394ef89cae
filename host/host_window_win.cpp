// FindWindowW, the placement-aware size, the posted resize and the start-up request.
#include "host/host_window_win.h"

#include "base/code_page_win.h"
#include "base/saturating.h"
#include "base/trace_win.h"
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

// To the top of the Z-order, neither moved nor sized, asynchronously: the change is
// posted to the host's thread, which makes it when it reads its messages.
constexpr UINT kBringForwardFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS;

constexpr BYTE kKeyDownBit = 0x80;

std::optional<Size> size_of(const RECT& rect) noexcept {
    const int64_t width = int64_t{rect.right} - rect.left;
    const int64_t height = int64_t{rect.bottom} - rect.top;
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    if (width < 0 || height < 0 || width > kMax || height > kMax) {
        return std::nullopt;
    }
    return Size{static_cast<int32_t>(width), static_cast<int32_t>(height)};
}

// The placement of a minimized host that is shown restored when it comes back; nothing
// when it cannot be read or comes back maximized.
std::optional<WINDOWPLACEMENT> restorable_placement(HWND host, HostWindowCalls& calls) noexcept {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!calls.get_placement(host, &placement) || (placement.flags & WPF_RESTORETOMAXIMIZED) != 0) {
        return std::nullopt;
    }
    return placement;
}

}  // namespace

std::optional<Size> host_outer_size(HWND host, HostWindowCalls& calls) noexcept {
    if (calls.is_iconic(host)) {
        const std::optional<WINDOWPLACEMENT> placement = restorable_placement(host, calls);
        return placement ? size_of(placement->rcNormalPosition) : std::nullopt;
    }
    RECT rect{};
    if (!calls.get_rect(host, &rect)) {
        return std::nullopt;
    }
    return size_of(rect);
}

std::mutex& host_layout_mutex() {
    static auto* mutex = new std::mutex;  // never destroyed: the worker may outlive main
    return *mutex;
}

HWND find_host_main_window() noexcept {
    try {
        HWND host = FindWindowW(widen(kHostMainClass).c_str(), nullptr);
        if (!host) {
            host = FindWindowW(widen(kHostTrialMainClass).c_str(), nullptr);
        }
        return host;
    } catch (...) {
        trace_exception();
        return nullptr;  // out of memory: as if the host were not running
    }
}

HWND find_inventory_window() noexcept {
    try {
        return FindWindowW(widen(kInventoryClass).c_str(), widen(kInventoryTitle).c_str());
    } catch (...) {
        trace_exception();
        return nullptr;  // out of memory: as if it were not open
    }
}

bool resize_host_height(HWND host, int32_t outer_width, int32_t height,
                        HostWindowCalls& calls) noexcept {
    if (!host) {
        return false;
    }
    if (!calls.is_iconic(host)) {
        return calls.set_pos(host, nullptr, 0, 0, outer_width, height, kResizeFlags) != FALSE;
    }
    std::optional<WINDOWPLACEMENT> placement = restorable_placement(host, calls);
    if (!placement) {
        return false;
    }
    // The normal rectangle is in workspace coordinates; only its size changes, so its
    // corner is kept as it is.
    RECT& normal = placement->rcNormalPosition;
    normal.right = saturating_add(normal.left, outer_width);
    normal.bottom = saturating_add(normal.top, height);
    // Posted to the host's thread, and it stays minimized without being activated.
    placement->flags = WPF_ASYNCWINDOWPLACEMENT;
    placement->showCmd = SW_SHOWMINNOACTIVE;
    return calls.set_placement(host, &*placement) != FALSE;
}

void restore_host_height(HostWindowCalls& calls) noexcept {
    HWND host = find_host_main_window();
    if (!host) {
        return;
    }
    const std::optional<Size> size = host_outer_size(host, calls);
    if (!size) {
        return;
    }
    const std::optional<int32_t> base = base_height_for_width(size->width);
    if (base && size->height != *base) {
        resize_host_height(host, size->width, *base, calls);
    }
}

void request_inventory_window(Clock& clock, HostRequestCalls& calls) noexcept {
    HWND host = find_host_main_window();
    if (!host || find_inventory_window()) {
        return;
    }
    // A host that is busy (loading, or stuck) would not come forward anyway, and attaching
    // to its input would tie our input to a thread that handles none. A hung host fails at
    // once, a busy one after kHostAnswerWaitMs.
    DWORD_PTR ignored = 0;
    if (!calls.send_timeout(host, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kHostAnswerWaitMs, &ignored)) {
        return;
    }
    // The host may stop answering at any moment after that, so nothing below waits for its
    // thread: the Z-order change is posted to it, and the activation is asked for while
    // our input is still our own (the system then posts it to the host's queue; with the
    // input attached it would be sent, and wait for the host). Attaching itself only joins
    // the two input states, and no input is read while they are joined.
    check(calls.set_pos(host, HWND_TOP, 0, 0, 0, 0, kBringForwardFlags), "SetWindowPos");
    calls.set_foreground(host);  // refused at times by design; it sets no error code
    const DWORD host_thread = GetWindowThreadProcessId(host, nullptr);
    const DWORD own_thread = GetCurrentThreadId();
    const bool attached = host_thread != 0 && host_thread != own_thread &&
                          calls.attach_input(own_thread, host_thread, TRUE) != FALSE;

    std::array<BYTE, 256> keys{};
    const bool have_keys = GetKeyboardState(keys.data()) != FALSE;
    const BYTE saved_f3 = keys[VK_F3];
    keys[VK_F3] = static_cast<BYTE>(saved_f3 | kKeyDownBit);
    if (have_keys) {
        check(SetKeyboardState(keys.data()), "SetKeyboardState");
    }

    try {
        poll_within(kInventoryRequestWaitMs, clock,
                    [] { return find_inventory_window() != nullptr; });
    } catch (...) {
        trace_exception();
        // Whatever the wait throws, F3 is given back all the same.
    }

    // A fresh reading: Shift, Ctrl or any other key that changed during the wait keeps
    // its new state.
    std::array<BYTE, 256> now{};
    if (have_keys && GetKeyboardState(now.data())) {
        now[VK_F3] = saved_f3;
        check(SetKeyboardState(now.data()), "SetKeyboardState");
    }
    if (attached) {
        check(calls.attach_input(own_thread, host_thread, FALSE), "AttachThreadInput");
    }
}

}  // namespace quilla

// The host application's windows as the overlay sees them: finding the main window and the
// inventory window, changing the main window's height, and asking the host to open its
// inventory window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <optional>

#include "base/clock_win.h"
#include "base/geometry.h"
#include "base/program_texts.h"
#include "base/seam.h"
#include "host/timed_poll.h"

namespace quilla {

// Window class of the host main window, full version and trial version.
inline constexpr char kHostMainClass[] = "QUILLA_BRISKOLT_APPLICATION";
inline constexpr char kHostTrialMainClass[] = "QUILLA_TRIAL_BRISKOLT_APPLICATION";
// The host's inventory window: a top-level list box with this title.
inline constexpr char kInventoryClass[] = "ListBox";
inline constexpr auto& kInventoryTitle = texts::kInventoryWindowTitle;

// The messages sent to the host's windows, each with a bound on its wait, so that a host
// that stops answering holds up nobody for longer: SendMessageTimeoutW, or in a test a
// stand-in with the same contract (the result, and the last error set when it fails) for
// what a test cannot make a real window do.
class HostMessageCalls {
  public:
    virtual ~HostMessageCalls() = default;
    virtual LRESULT send_timeout(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                 UINT flags, UINT timeout_ms, PDWORD_PTR result) {
        return SendMessageTimeoutW(window, message, wparam, lparam, flags, timeout_ms, result);
    }
};

// The host main window (the full version first, then the trial version), or null when
// the host is not running.
HWND find_host_main_window() noexcept;

// The host's inventory window, or null when it is not open.
HWND find_inventory_window() noexcept;

// The window calls the host's size goes through. Tests pass their own for what only
// Windows shows (the placement of another program's minimized window); the program always
// uses the real ones.
class HostWindowCalls {
  public:
    virtual ~HostWindowCalls() = default;
    virtual BOOL is_iconic(HWND window) { return IsIconic(window); }
    virtual BOOL get_rect(HWND window, RECT* rect) { return GetWindowRect(window, rect); }
    virtual BOOL set_pos(HWND window, HWND after, int x, int y, int cx, int cy, UINT flags) {
        return SetWindowPos(window, after, x, y, cx, cy, flags);
    }
    virtual BOOL get_placement(HWND window, WINDOWPLACEMENT* placement) {
        return GetWindowPlacement(window, placement);
    }
    virtual BOOL set_placement(HWND window, const WINDOWPLACEMENT* placement) {
        return SetWindowPlacement(window, placement);
    }
};

// The host's outer size as it is when shown restored: its window rectangle, or while it
// is minimized its placement's normal rectangle (a minimized window's rectangle is its
// icon's). Nothing when that cannot be read, or for a minimized host that comes back
// maximized (a maximized window has no base height).
std::optional<Size> host_outer_size(
    HWND host, HostWindowCalls& calls = system_calls<HostWindowCalls>()) noexcept;

// Gives the host window the outer size outer_width x height as it is shown restored,
// keeping its position and Z-order: a restored host is resized, a minimized one gets the
// new height in its placement's normal rectangle and stays minimized. Either request is
// applied asynchronously, on the host's own thread, so a host that does not answer holds
// up nobody. False when the request could not be made.
bool resize_host_height(HWND host, int32_t outer_width, int32_t height,
                        HostWindowCalls& calls = system_calls<HostWindowCalls>()) noexcept;

// Held while the position mode changes together with the host's height: by the menu
// commands and the shutdown (mode, then restore) and by the render worker (mode 3 still
// on, then extend). So an extension the worker decided on can never land after the
// restore that ended mode 3. Each side holds it only for a window-rectangle read and an
// asynchronous resize request.
std::mutex& host_layout_mutex();

// Puts the host main window back to the base height of its outer width, when its width
// has one and its height differs from it, measured as it is shown restored (see
// host_outer_size). Does nothing without a host.
void restore_host_height(HostWindowCalls& calls = system_calls<HostWindowCalls>()) noexcept;

// How long one request waits for the inventory window, measured on the clock.
inline constexpr uint64_t kInventoryRequestWaitMs = 100;

// How long the request waits for the host to answer a message before it leaves the host
// alone.
inline constexpr UINT kHostAnswerWaitMs = 100;

// The calls the inventory request makes on the host's window and input. Tests pass their
// own to see which are made, and in which order, for a host that answers and for one that
// does not; the program always uses the real ones.
class HostRequestCalls : public HostMessageCalls {
  public:
    virtual BOOL set_pos(HWND window, HWND after, int x, int y, int cx, int cy, UINT flags) {
        return SetWindowPos(window, after, x, y, cx, cy, flags);
    }
    virtual BOOL set_foreground(HWND window) { return SetForegroundWindow(window); }
    virtual BOOL attach_input(DWORD from, DWORD to, BOOL attach) {
        return AttachThreadInput(from, to, attach);
    }
};

// Asks a running host whose inventory window is closed to open it: brings the host to the
// foreground with F3 held in the shared input state, polls for the inventory window for
// kInventoryRequestWaitMs on the clock, then gives F3 (and only F3: any other key changed
// meanwhile stays as it is now) its previous state. Does nothing without a host, with the
// inventory window already open, or with a host that does not answer a message within
// kHostAnswerWaitMs (hung or busy). No call it makes waits for the host's thread, so a host
// that stops answering after that question holds up nothing either.
void request_inventory_window(Clock& clock = system_clock(),
                              HostRequestCalls& calls = system_calls<HostRequestCalls>()) noexcept;

}  // namespace quilla

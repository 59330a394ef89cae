// What every window of the program shares: registering its class, the static window
// procedure that hands each message to the window's own object, reading its text, finding
// its instance, centring it on the screen and dragging a captionless window.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/trace_win.h"

namespace quilla {

// Registers a wide class of the given name (ASCII) with CS_HREDRAW | CS_VREDRAW, the
// shared arrow cursor, the background brush, and no icon or menu: its windows take and
// give their texts in wide characters. True when the class is registered, now or before.
bool register_window_class(HINSTANCE instance, const char* name, WNDPROC procedure,
                           HBRUSH background) noexcept;

// A window's whole text (a control's contents), however long, in wide characters as the
// window holds them, and as Shift-JIS.
std::wstring window_wide_text(HWND window);
std::string window_text(HWND window);

// Sets a window's text (a control's contents) from Shift-JIS, in wide characters.
bool set_window_text(HWND window, std::string_view text);

// The instance a window belongs to; for no window, the program's own.
HINSTANCE window_instance(HWND window) noexcept;

// Where a window of the given outer size (at most the screen's size or so; the program's
// own windows are small) goes to sit centred on the primary screen.
POINT centred_on_screen(int width, int height) noexcept;

// The point of a mouse message (WM_LBUTTONDOWN and the like), in client coordinates; it
// may be negative on a window that reaches beyond its owner's screen.
POINT mouse_point(LPARAM lparam) noexcept;

// Lets the system move a captionless window with the mouse, as its title bar would, from
// a press at point (client coordinates). Returns when the user lets go.
void drag_by_free_spot(HWND window, POINT point) noexcept;

// The window procedure of windows whose object is a T, given to CreateWindowExW as its
// creation parameter. From WM_NCCREATE on, every message goes to
// T::handle(message, wparam, lparam) while the object belongs to that window
// (T::window() == hwnd); messages before it, or after the object let the window go, get
// the default processing. The window forgets its object at WM_NCDESTROY, its last
// message, so that nothing can reach the object through the window once it is gone.
// T provides attach(HWND), window() and handle(). The procedure is where a failure inside
// handle() stops: an exception (out of memory) is traced, and the message gets what a
// failed creation returns (WM_NCCREATE, WM_CREATE) or else the default processing.
template <typename T>
LRESULT CALLBACK window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        self->attach(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    }
    if (!self || self->window() != hwnd) {
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    try {
        return self->handle(message, wparam, lparam);
    } catch (...) {
        trace_exception();
    }
    if (message == WM_NCCREATE) {
        return FALSE;
    }
    return message == WM_CREATE ? -1 : DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace quilla

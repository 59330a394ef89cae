// What every window of the program shares: registering its class, the static window
// procedure that hands each message to the window's own object, and reading its text.
#pragma once

#include <windows.h>

#include <string>

namespace quilla {

// Registers a class of the given name with CS_HREDRAW | CS_VREDRAW, the shared arrow
// cursor, the background brush, and no icon or menu. True when the class is registered,
// now or before.
bool register_window_class(HINSTANCE instance, const char* name, WNDPROC procedure,
                           HBRUSH background) noexcept;

// A window's whole text (a control's contents), however long.
std::string window_text(HWND window);

// The window procedure of windows whose object is a T, given to CreateWindowExA as its
// creation parameter. From WM_NCCREATE on, every message goes to
// T::handle(message, wparam, lparam) while the object belongs to that window
// (T::window() == hwnd); messages before it, or after the object let the window go, get
// the default processing. The window forgets its object at WM_NCDESTROY, its last
// message, so that nothing can reach the object through the window once it is gone.
// T provides attach(HWND), window() and a noexcept handle().
template <typename T>
LRESULT CALLBACK window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        self->attach(hwnd);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    }
    if (!self || self->window() != hwnd) {
        return DefWindowProcA(hwnd, message, wparam, lparam);
    }
    return self->handle(message, wparam, lparam);
}

}  // namespace quilla

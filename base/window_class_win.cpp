// RegisterClassExW, window texts through widen/narrow, centring and the drag by a free spot.
#include "base/window_class_win.h"

#include "base/code_page_win.h"
#include "base/trace_win.h"

namespace quilla {

bool register_window_class(HINSTANCE instance, const char* name, WNDPROC procedure,
                           HBRUSH background) noexcept {
    std::wstring class_name;
    try {
        class_name = widen(name);
    } catch (...) {
        trace_exception();
        return false;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = static_cast<HCURSOR>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_CURSOR, 0,
                                                 0, LR_SHARED | LR_DEFAULTSIZE));
    wc.hbrBackground = background;
    wc.lpszClassName = class_name.c_str();
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

std::wstring window_wide_text(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

std::string window_text(HWND window) {
    return narrow(window_wide_text(window));
}

bool set_window_text(HWND window, std::string_view text) {
    return SetWindowTextW(window, widen(text).c_str()) != FALSE;
}

HINSTANCE window_instance(HWND window) noexcept {
    if (window) {
        if (auto instance =
                reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE))) {
            return instance;
        }
    }
    return GetModuleHandleW(nullptr);
}

POINT centred_on_screen(int width, int height) noexcept {
    return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2,
            (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

POINT mouse_point(LPARAM lparam) noexcept {
    return {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

void drag_by_free_spot(HWND window, POINT point) noexcept {
    ClientToScreen(window, &point);
    SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION,
                 MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
}

}  // namespace quilla

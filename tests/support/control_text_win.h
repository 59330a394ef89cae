// Reading a window's or control's text in tests, in this process or another: asked of the
// window itself with WM_GETTEXT (GetWindowText does not ask another process's controls),
// at the length the window reports.
#pragma once

#include <windows.h>

#include <string>

namespace quilla::test_support {

template <typename Char>
std::basic_string<Char> text_asked_of(HWND control,
                                      LRESULT(WINAPI* send)(HWND, UINT, WPARAM, LPARAM)) {
    const LRESULT length = send(control, WM_GETTEXTLENGTH, 0, 0);
    std::basic_string<Char> text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, Char{});
    const LRESULT got =
        send(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

inline std::string control_text(HWND control) {
    return text_asked_of<char>(control, &SendMessageA);
}

// The same, in wide characters as the window holds them.
inline std::wstring control_wide_text(HWND control) {
    return text_asked_of<wchar_t>(control, &SendMessageW);
}

}  // namespace quilla::test_support

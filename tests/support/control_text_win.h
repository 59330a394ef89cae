// Reading a window's or control's text in tests, in this process or another: asked of the
// window itself with WM_GETTEXT (GetWindowText does not ask another process's controls),
// at the length the window reports.
#pragma once

#include <windows.h>

#include <string>

namespace quilla::test_support {

inline std::string control_text(HWND control) {
    const LRESULT length = SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    const LRESULT got =
        SendMessageA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

}  // namespace quilla::test_support

// Finding the popup menu ("#32768") a process shows.
#pragma once

#include <windows.h>

namespace quilla::test_support {

// A visible popup menu window of the process, or null.
inline HWND visible_popup_menu(DWORD process_id) {
    struct Search {
        DWORD pid;
        HWND found;
    } search{process_id, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            char cls[64] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            if (pid == s->pid && lstrcmpA(cls, "#32768") == 0 && IsWindowVisible(hwnd)) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace quilla::test_support

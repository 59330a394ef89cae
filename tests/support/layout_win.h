// What every window of the program promises of its child controls, as a user sees them:
// each wholly inside the window's client area, and no shown one over another but where a
// control sits wholly on the one beneath it (a row on a tab control).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quilla::test_support {

// A window's rectangle in its parent's client coordinates.
inline RECT rect_in_parent(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline bool wholly_inside(const RECT& inner, const RECT& outer) {
    RECT both{};
    return IntersectRect(&both, &inner, &outer) && EqualRect(&both, &inner);
}

// What breaks that promise among parent's children, one line each naming the controls by
// their place under GW_CHILD; empty when nothing does. Controls may sit wholly on base (a
// control others are placed on).
inline std::vector<std::string> layout_faults(HWND parent, HWND base = nullptr) {
    RECT client{};
    GetClientRect(parent, &client);
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        children.push_back(c);
    }
    std::vector<std::string> faults;
    for (std::size_t i = 0; i < children.size(); ++i) {
        const RECT r = rect_in_parent(children[i]);
        if (!wholly_inside(r, client)) {
            faults.push_back(std::to_string(i) + " is not inside the window");
        }
        for (std::size_t j = 0; j < i && IsWindowVisible(children[i]); ++j) {
            const RECT other = rect_in_parent(children[j]);
            const bool on_base = (children[j] == base && wholly_inside(r, other)) ||
                                 (children[i] == base && wholly_inside(other, r));
            RECT both{};
            if (IsWindowVisible(children[j]) && IntersectRect(&both, &r, &other) && !on_base) {
                faults.push_back(std::to_string(i) + " overlaps " + std::to_string(j));
            }
        }
    }
    return faults;
}

}  // namespace quilla::test_support

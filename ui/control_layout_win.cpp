// CreateWindowExW for a ControlPlace.
#include "ui/control_layout_win.h"

#include <string>

#include "base/code_page_win.h"
#include "base/trace_win.h"
#include "base/window_class_win.h"

namespace quilla {

HWND create_control(HWND parent, const ControlPlace& control) {
    return create_control(parent, control, control.text ? control.text : "");
}

HWND create_control(HWND parent, const ControlPlace& control, std::string_view text) {
    const Rect& r = control.place;
    HWND made =
        CreateWindowExW(0, widen(control.class_name).c_str(), widen(text).c_str(),
                        WS_CHILD | control.style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                        window_instance(parent), nullptr);
    check(made != nullptr, "CreateWindowExW");
    return made;
}

}  // namespace quilla

// The one way the program's windows describe their child controls: what each control is,
// where it sits and what it first says, made in order by create_control.
#pragma once

#include <windows.h>

#include <string_view>

#include "base/geometry.h"

namespace quilla {

struct ControlPlace {
    const char* class_name;      // ASCII
    int id;                      // 0 for a control nothing finds by its id
    DWORD style;                 // besides WS_CHILD
    Rect place;                  // in the parent's client pixels
    const char* text = nullptr;  // its first text, Shift-JIS; none when null
};

// Makes control as a child of parent, with its own text or the given one. Null (traced)
// when it could not be made.
HWND create_control(HWND parent, const ControlPlace& control);
HWND create_control(HWND parent, const ControlPlace& control, std::string_view text);

}  // namespace quilla

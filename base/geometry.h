// Points, sizes and rectangles in pixels, and the arithmetic on them that must never
// overflow whatever a file or another window hands us.
#pragma once

#include <cstdint>

namespace quilla {

struct Point {
    int32_t x;
    int32_t y;

    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int32_t width;
    int32_t height;

    friend bool operator==(const Size&, const Size&) = default;
};

// Left and top inside, right and bottom just outside, as window rectangles are given.
struct Rect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;

    friend bool operator==(const Rect&, const Rect&) = default;
};

// p moved by (by.x, by.y); each coordinate stops at the int32 limits.
Point translate(Point p, Point by) noexcept;

// How far a monitor's work area (the part that application bars such as the taskbar
// leave free) starts from the monitor's own top-left corner. A window's normal position
// as the system reports it is counted from that corner of the work area ("workspace
// coordinates"); adding this offset gives screen coordinates.
Point work_area_offset(const Rect& monitor, const Rect& work_area) noexcept;

}  // namespace quilla

// The host main window's normal outer height for each outer width it is known to use.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace quilla {

struct BaseHeight {
    int32_t width;
    int32_t height;
};

// The host's window sizes: each comes in two outer widths that share one normal outer
// height.
inline constexpr std::array<BaseHeight, 12> kBaseHeights{{
    {326, 289},
    {390, 289},
    {406, 349},
    {486, 349},
    {518, 433},
    {620, 433},
    {646, 529},
    {774, 529},
    {806, 649},
    {966, 649},
    {1030, 817},
    {1234, 817},
}};

// The base height of a host main window whose outer width is outer_width, or nothing when
// the host never uses that width (such a host is never resized).
std::optional<int32_t> base_height_for_width(int32_t outer_width) noexcept;

}  // namespace quilla

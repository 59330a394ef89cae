// The overlay's layout maths: its size from the measured lines, where each line goes,
// the per-pixel alpha of the bottom-up pixel buffer, and where the overlay sits against
// the host window. Pure arithmetic, no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/geometry.h"

namespace quilla {

// Side of the square the overlay is before its first pass and whenever nothing measurable
// is drawn; also the fallback for a zero width or height on its own.
inline constexpr int32_t kEmptyOverlaySide = 20;

// The overlay's size from the extents of the lines that are switched on: the largest
// width by the sum of the heights (saturating). A failed measurement (nullopt) adds
// nothing and a negative extent counts as 0. A width of 0 becomes 20, and a height of 0
// becomes 20, each on its own.
Size overlay_size_from_extents(const std::vector<std::optional<Size>>& extents);

// Where one line lies, from its top down.
struct LineBand {
    int32_t top;
    int32_t height;

    friend bool operator==(const LineBand&, const LineBand&) = default;
};

// Where every line lies, in drawing order: the drawing puts each line's top at its band's
// top, and the slot-count commands find the line under a point by the same bands. A
// positive line step gives line i the band from line_step * i, line_step tall
// (saturating). A step of 0 or below (a font whose height is given as a character height,
// or the default height) would stack the lines on one another or push them above the top
// edge, so the lines are then stacked by their measured heights, which is also how the
// overlay's height is summed; a failed measurement gives an empty band.
std::vector<LineBand> line_bands(int32_t line_step,
                                 const std::vector<std::optional<Size>>& extents);

// The back colour as a pixel value: a colour reference 0x00BBGGRR becomes 0x00RRGGBB.
uint32_t alpha_key(uint32_t colorref);

// Sets the alpha of the used rectangle of a bottom-up 32-bit pixel buffer (image row y
// starts at pixel (surface_height - 1 - y) * surface_width). A pixel equal to the key in
// all 32 bits becomes 0 when transparent; every other pixel keeps its colour and gets
// alpha 0xFF. Only the used rectangle, clipped to the surface, is touched; a null buffer
// or an empty surface is left alone.
void apply_alpha(uint32_t* bits, int32_t surface_width, int32_t surface_height, Size used,
                 uint32_t back_colorref, bool transparent);

// The part of the used rectangle that lies on the surface: each side clamped to
// 0..surface side.
Size clip_to_surface(Size used, int32_t surface_width, int32_t surface_height);

// The host's new outer height when the overlay extends it (position mode 3): its base
// height for this outer width plus the overlay height, when the width has a base height
// and the current outer height differs from that sum; otherwise nothing. A negative
// overlay height counts as 0, so the host never shrinks below its base height.
std::optional<int32_t> extended_host_height(int32_t host_outer_width, int32_t host_outer_height,
                                            int32_t overlay_height);

// The overlay's top-left corner that puts its lower-left corner on the lower-left corner
// of the host's client area (given in screen coordinates). Saturates instead of
// overflowing.
Point anchor_to_client_bottom_left(Point client_bottom_left_in_screen, int32_t overlay_height);

}  // namespace quilla

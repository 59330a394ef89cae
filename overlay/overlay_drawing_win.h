// Drawing the overlay into the drawing surface: the outlined lines on a plain background,
// with the per-pixel alpha set. Runs on the render worker; presenting is done there too.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "overlay/drawing_surface_win.h"
#include "overlay/overlay_layout.h"

namespace quilla {

struct DrawColors {
    COLORREF back;
    COLORREF font;
    COLORREF edge;
};

// Draws one Shift-JIS line in the DC's font with its left edge at x = 0 and its top at y:
// the edge colour at the eight one-pixel offsets around it, then the face in the font
// colour. The background is left as it is.
void draw_outlined_text(HDC dc, std::string_view text, int32_t y, const DrawColors& colors);

// What draw_overlay drew: the overlay size, and where each line lies.
struct DrawnOverlay {
    Size size;
    std::vector<LineBand> bands;  // one per line, in order
};

// Measures the lines (those switched on, in order) in the font already selected into the
// surface's DC, fills the overlay's rectangle with the back colour, draws the lines one
// below the other (each at the top of its band, see line_bands) and sets the alpha
// (back-colour pixels cut out when transparent). Returns the overlay size, clipped to the
// surface (nothing outside the surface is drawn or presented), and the lines' bands.
DrawnOverlay draw_overlay(DrawingSurface& surface, const std::vector<std::string_view>& lines,
                          int32_t line_step, const DrawColors& colors, bool transparent);

}  // namespace quilla

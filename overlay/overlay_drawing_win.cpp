// GDI steps of a pass's drawing: measure, fill, outlined TextOutW, alpha.
#include "overlay/overlay_drawing_win.h"

#include <limits>
#include <optional>
#include <utility>

#include "base/code_page_win.h"
#include "base/handles_win.h"
#include "base/saturating.h"
#include "base/text.h"

namespace quilla {
namespace {

// The line in wide characters, as GDI draws it. GDI takes an int length; a longer text is
// cut at a character boundary first (a character is never more wide units than bytes).
std::wstring gdi_text(std::string_view text) {
    constexpr auto kMaxLength = static_cast<std::size_t>(std::numeric_limits<int>::max());
    return widen(text.size() > kMaxLength ? sjis_prefix(text, kMaxLength) : text);
}

void text_out(HDC dc, int32_t x, int32_t y, std::wstring_view text) {
    TextOutW(dc, x, y, text.data(), static_cast<int>(text.size()));
}

std::optional<Size> measure_line(HDC dc, std::string_view line) {
    const std::wstring text = gdi_text(line);
    SIZE extent{};
    if (!GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent)) {
        return std::nullopt;
    }
    return Size{extent.cx, extent.cy};
}

void fill_background(HDC dc, Size area, COLORREF back) {
    const UniqueBrush brush(CreateSolidBrush(back));
    if (!brush) {
        return;
    }
    const RECT rect{0, 0, area.width, area.height};
    FillRect(dc, &rect, brush.get());
}

}  // namespace

void draw_outlined_text(HDC dc, std::string_view text, int32_t y, const DrawColors& colors) {
    struct Offset {
        int32_t dx;
        int32_t dy;
    };
    static constexpr Offset kOutline[] = {{-1, -1}, {-1, 0}, {-1, +1}, {0, -1},
                                          {+1, -1}, {+1, 0}, {+1, +1}, {0, +1}};
    const std::wstring line = gdi_text(text);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colors.edge);
    for (const Offset& offset : kOutline) {
        text_out(dc, offset.dx, saturating_add(y, offset.dy), line);
    }
    SetTextColor(dc, colors.font);
    text_out(dc, 0, y, line);
}

DrawnOverlay draw_overlay(DrawingSurface& surface, const std::vector<std::string_view>& lines,
                          int32_t line_step, const DrawColors& colors, bool transparent) {
    HDC dc = surface.dc();
    std::vector<std::optional<Size>> extents;
    extents.reserve(lines.size());
    for (std::string_view line : lines) {
        extents.push_back(measure_line(dc, line));
    }
    const Size used =
        clip_to_surface(overlay_size_from_extents(extents), surface.width(), surface.height());

    fill_background(dc, used, colors.back);
    std::vector<LineBand> bands = line_bands(line_step, extents);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        draw_outlined_text(dc, lines[i], bands[i].top, colors);
    }

    // GDI may batch its calls; the pixels are touched directly only after they are done.
    GdiFlush();
    apply_alpha(surface.bits(), surface.width(), surface.height(), used, colors.back, transparent);
    return {used, std::move(bands)};
}

}  // namespace quilla

// Looking at the overlay as a user would: the pixels on the screen, and the pixels the
// program's own drawing gives for the lines a test expects (the oracle the screen is
// compared with).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <string>
#include <vector>

#include "base/handles_win.h"
#include "config/overlay_font_win.h"
#include "overlay/drawing_surface_win.h"
#include "overlay/overlay_drawing_win.h"

namespace quilla::e2e {

struct Extent {
    int width = 0;
    int height = 0;
};

// The screen's pixels in a rectangle, top row first, as 0x00RRGGBB.
inline std::vector<uint32_t> capture_screen(const RECT& r) {
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    std::vector<uint32_t> pixels;
    if (w <= 0 || h <= 0) {
        return pixels;
    }
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    const WindowDc screen(nullptr);
    const UniqueMemoryDc mem(CreateCompatibleDC(screen.get()));
    void* bits = nullptr;
    const UniqueBitmap dib(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) {
        return pixels;
    }
    const SelectGuard selected(mem.get(), dib.get());
    BitBlt(mem.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
    GdiFlush();
    pixels.assign(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + w * h);
    for (auto& p : pixels) {
        p &= 0x00FFFFFF;
    }
    return pixels;
}

inline std::size_t count_pixels(const std::vector<uint32_t>& pixels, uint32_t rgb) {
    std::size_t n = 0;
    for (uint32_t p : pixels) {
        n += p == rgb;
    }
    return n;
}

// The colours of the default settings: white text with a black outline on black.
inline constexpr DrawColors kDefaultColors{RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)};

// What the overlay shows for these lines, opaque, in its default font: the size and the
// pixels (top row first, 0x00RRGGBB), drawn by the program's own drawing code.
struct DrawnLines {
    Extent size;
    std::vector<uint32_t> pixels;
};

inline DrawnLines draw_lines(const std::vector<std::string>& lines,
                             const DrawColors& colors = kDefaultColors) {
    constexpr int32_t kFontHeight = 16;
    DrawnLines drawn;
    SurfaceResult made = create_drawing_surface(nullptr, 2048, 256);
    const std::shared_ptr<void> font = create_overlay_font("ＭＳ ゴシック", kFontHeight);
    if (!made.surface || !font) {
        return drawn;
    }
    DrawingSurface& surface = *made.surface;
    const SelectGuard selected(surface.dc(), font_handle(font));
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    const Size size = draw_overlay(surface, views, kFontHeight, colors, false).size;
    GdiFlush();
    drawn.size = {size.width, size.height};
    for (int32_t y = 0; y < size.height; ++y) {
        const uint32_t* row = surface.bits() + (surface.height() - 1 - y) * surface.width();
        for (int32_t x = 0; x < size.width; ++x) {
            drawn.pixels.push_back(row[x] & 0x00FFFFFF);
        }
    }
    return drawn;
}

}  // namespace quilla::e2e

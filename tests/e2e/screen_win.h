// Looking at the overlay as a user would: text extents in the overlay's default font,
// and the pixels on the screen.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/handles_win.h"

namespace quilla::e2e {

struct Extent {
    int width = 0;
    int height = 0;
};

// The extent of a Shift-JIS line in the overlay's default font (height 16, "ＭＳ ゴシック").
inline Extent text_extent(const std::string& text, LONG font_height = 16) {
    LOGFONTA lf{};
    lf.lfHeight = font_height;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpyA(lf.lfFaceName, "ＭＳ ゴシック");
    const UniqueFont font(CreateFontIndirectA(&lf));
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const SelectGuard selected(dc.get(), font.get());
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), text.data(), static_cast<int>(text.size()), &size);
    return {size.cx, size.cy};
}

// The overlay's size for the lines it shows: the widest line by the summed heights.
inline Extent overlay_extent(const std::vector<std::string>& lines) {
    Extent total;
    for (const auto& line : lines) {
        const Extent e = text_extent(line);
        total.width = std::max(total.width, e.width);
        total.height += e.height;
    }
    return total;
}

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

}  // namespace quilla::e2e

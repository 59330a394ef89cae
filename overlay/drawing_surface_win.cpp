// The drawing surface: creation step by step, with the failing step reported.
#include "overlay/drawing_surface_win.h"

#include <cstddef>
#include <limits>
#include <utility>

#include "base/handles_win.h"

namespace quilla {
namespace {

// A BITMAPINFO for BI_BITFIELDS: the header followed by the red, green and blue masks.
struct BitfieldsInfo {
    BITMAPINFOHEADER header;
    DWORD masks[3];
};

BitfieldsInfo surface_bitmap_info(int32_t width, int32_t height) {
    BitfieldsInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;  // positive: rows are stored bottom-up
    info.header.biPlanes = 1;
    info.header.biBitCount = 32;
    info.header.biCompression = BI_BITFIELDS;
    info.masks[0] = 0x00FF0000;
    info.masks[1] = 0x0000FF00;
    info.masks[2] = 0x000000FF;
    return info;
}

// True when a width x height 32-bit buffer is non-empty and its byte size fits a LONG,
// which is what the DIB header can describe.
bool is_drawable_size(int32_t width, int32_t height) noexcept {
    if (width <= 0 || height <= 0) {
        return false;
    }
    constexpr int64_t kMaxBytes = std::numeric_limits<LONG>::max();
    return static_cast<int64_t>(width) * static_cast<int64_t>(height) * 4 <= kMaxBytes;
}

UniqueBitmap create_surface_dib(HDC window_dc, int32_t width, int32_t height, void** bits) {
    if (!is_drawable_size(width, height)) {
        return UniqueBitmap{};
    }
    const BitfieldsInfo info = surface_bitmap_info(width, height);
    return UniqueBitmap{CreateDIBSection(window_dc, reinterpret_cast<const BITMAPINFO*>(&info),
                                         DIB_RGB_COLORS, bits, nullptr, 0)};
}

SurfaceResult failed(int step) {
    return SurfaceResult{nullptr, step};
}

}  // namespace

DrawingSurface::DrawingSurface(UniqueMemoryDc dc, UniqueBitmap dib, uint32_t* bits, int32_t width,
                               int32_t height) noexcept
    : dib_(std::move(dib)),
      dc_(std::move(dc)),
      dib_in_dc_(dc_.get(), dib_.get()),
      bits_(bits),
      width_(width),
      height_(height) {}

SurfaceResult create_drawing_surface(HWND window, int32_t width, int32_t height) {
    UniqueBitmap dib;
    UniqueMemoryDc memory_dc;
    void* bits = nullptr;
    {
        const WindowDc window_dc(window);
        if (!window_dc) {
            return failed(kSurfaceGetDcFailed);
        }
        dib = create_surface_dib(window_dc.get(), width, height, &bits);
        if (!dib || bits == nullptr) {
            return failed(kSurfaceDibFailed);
        }
        memory_dc.reset(CreateCompatibleDC(window_dc.get()));
        if (!memory_dc) {
            return failed(kSurfaceMemoryDcFailed);
        }
    }
    std::unique_ptr<DrawingSurface> surface(new DrawingSurface(
        std::move(memory_dc), std::move(dib), static_cast<uint32_t*>(bits), width, height));
    if (!surface->dib_in_dc_.ok()) {
        return failed(kSurfaceSelectFailed);
    }
    return SurfaceResult{std::move(surface), kSurfaceOk};
}

}  // namespace quilla

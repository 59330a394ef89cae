// The drawing surface: creation step by step, with the failing step reported, and the
// release of the memory DC and its DIB section.
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

DrawingSurface::DrawingSurface(HDC dc, HBITMAP dib, HGDIOBJ original_bitmap, uint32_t* bits,
                               int32_t width, int32_t height) noexcept
    : dc_(dc),
      dib_(dib),
      original_bitmap_(original_bitmap),
      bits_(bits),
      width_(width),
      height_(height) {}

DrawingSurface::DrawingSurface(DrawingSurface&& other) noexcept
    : dc_(std::exchange(other.dc_, nullptr)),
      dib_(std::exchange(other.dib_, nullptr)),
      original_bitmap_(std::exchange(other.original_bitmap_, nullptr)),
      bits_(std::exchange(other.bits_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

DrawingSurface& DrawingSurface::operator=(DrawingSurface&& other) noexcept {
    if (this != &other) {
        release();
        dc_ = std::exchange(other.dc_, nullptr);
        dib_ = std::exchange(other.dib_, nullptr);
        original_bitmap_ = std::exchange(other.original_bitmap_, nullptr);
        bits_ = std::exchange(other.bits_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
    }
    return *this;
}

DrawingSurface::~DrawingSurface() {
    release();
}

// A bitmap that is still selected into a DC cannot be deleted, and deleting the DC does
// not delete it, so the DIB is selected out first; whatever font the caller left in the
// DC is swapped for the stock one before the DC goes.
void DrawingSurface::release() noexcept {
    if (dc_ != nullptr) {
        SelectObject(dc_, original_bitmap_);
        SelectObject(dc_, GetStockObject(SYSTEM_FONT));
        DeleteDC(dc_);
    }
    if (dib_ != nullptr) {
        DeleteObject(dib_);
    }
    dc_ = nullptr;
    dib_ = nullptr;
    original_bitmap_ = nullptr;
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
}

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
    HGDIOBJ original = SelectObject(memory_dc.get(), dib.get());
    if (original == nullptr || original == HGDI_ERROR) {
        return failed(kSurfaceSelectFailed);
    }
    std::unique_ptr<DrawingSurface> surface(new DrawingSurface(
        memory_dc.release(), dib.release(), original, static_cast<uint32_t*>(bits), width, height));
    return SurfaceResult{std::move(surface), kSurfaceOk};
}

}  // namespace quilla

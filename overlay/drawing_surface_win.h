// The drawing surface: a memory DC with a screen-sized 32-bit bottom-up DIB section
// selected in, plus the DIB's pixel pointer and size. Created on the primary thread while
// the overlay window is created, then handed to the render worker, which owns it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "base/handles_win.h"

namespace quilla {

struct SurfaceResult;

class DrawingSurface {
  public:
    DrawingSurface(const DrawingSurface&) = delete;
    DrawingSurface& operator=(const DrawingSurface&) = delete;

    // The memory DC that holds the DIB section; draw into it.
    HDC dc() const noexcept { return dc_.get(); }
    // The DIB's pixels, 0xAARRGGBB, bottom-up: image row y starts at
    // (height() - 1 - y) * width(). Call GdiFlush before reading what GDI drew.
    uint32_t* bits() const noexcept { return bits_; }
    int32_t width() const noexcept { return width_; }
    int32_t height() const noexcept { return height_; }

  private:
    friend SurfaceResult create_drawing_surface(HWND window, int32_t width, int32_t height);
    DrawingSurface(UniqueMemoryDc dc, UniqueBitmap dib, uint32_t* bits, int32_t width,
                   int32_t height) noexcept;

    // Released in reverse order: the DIB is selected out of the DC, the DC is deleted,
    // then the DIB (a bitmap still selected into a DC cannot be deleted).
    UniqueBitmap dib_;
    UniqueMemoryDc dc_;
    SelectGuard dib_in_dc_;
    uint32_t* bits_;
    int32_t width_;
    int32_t height_;
};

// The step of create_drawing_surface that failed; the window creation shows it as the
// error code "#DC-<n>".
enum SurfaceStep : int {
    kSurfaceOk = 0,
    kSurfaceGetDcFailed = 1,
    kSurfaceDibFailed = 2,
    kSurfaceMemoryDcFailed = 3,
    kSurfaceSelectFailed = 4,
};

struct SurfaceResult {
    std::unique_ptr<DrawingSurface> surface;  // null unless failed_step is kSurfaceOk
    int failed_step;                          // a SurfaceStep
};

// Builds the surface for the given window (GetDC of it, a width x height 32-bit
// BI_BITFIELDS DIB section, a compatible memory DC, the DIB selected in). A width or
// height of 0 or below fails at the DIB step. Everything made before a failure is
// released again.
SurfaceResult create_drawing_surface(HWND window, int32_t width, int32_t height);

}  // namespace quilla

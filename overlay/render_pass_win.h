// One pass of the render worker: poll the hot key, read and parse the host's inventory,
// draw the overlay into the drawing surface and present it as a per-pixel-alpha layered
// window. The worker runs one per refresh interval; a benchmark can run them back to back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "overlay/drawing_surface_win.h"

namespace quilla {

class RenderPass {
  public:
    // Draws for the overlay window into the surface; both must outlive the pass object.
    // Holds the window's and the screen's DCs for its lifetime.
    RenderPass(HWND overlay, DrawingSurface& surface);
    RenderPass(const RenderPass&) = delete;
    RenderPass& operator=(const RenderPass&) = delete;
    ~RenderPass();

    // Runs one pass; the hot key's toggle of "透過" shows its check mark in menu (which may
    // be null). Returns the pause before the next pass, in milliseconds.
    int32_t run(HMENU menu) noexcept;

  private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace quilla

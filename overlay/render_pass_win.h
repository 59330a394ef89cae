// One pass of the render worker: poll the hot key, read and parse the host's inventory,
// draw the overlay into the drawing surface and present it as a per-pixel-alpha layered
// window. The worker runs one per refresh interval; a benchmark can run them back to back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "base/clock_win.h"
#include "base/seam.h"
#include "host/inventory_reader_win.h"
#include "input/input_poller_win.h"
#include "overlay/drawing_surface_win.h"

namespace quilla {

// Posted to the overlay window after the hot key has toggled the option "透過", so that
// the window's own thread sets the menu's check mark.
inline constexpr UINT kTransparencyToggledMessage = WM_APP + 1;

class RenderPass {
  public:
    // Draws for the overlay window into the surface. Holds the window's and the screen's
    // DCs for its lifetime. Each pass reads the inventory within the limits, sending its
    // messages through inventory and measuring the budget on the clock, and polls the hot
    // key with the pad asked through joystick (its pause after a pad that did not answer
    // measured on the clock too). The surface, the calls and the clock must
    // outlive the pass object.
    RenderPass(HWND overlay, DrawingSurface& surface, const InventoryReadLimits& limits = {},
               InventoryCalls& inventory = system_calls<InventoryCalls>(),
               JoystickCalls& joystick = system_calls<JoystickCalls>(),
               Clock& clock = system_clock());
    RenderPass(const RenderPass&) = delete;
    RenderPass& operator=(const RenderPass&) = delete;
    ~RenderPass();

    // Runs one pass and returns the pause before the next, in milliseconds. When the hot
    // key toggles "透過", kTransparencyToggledMessage is posted to the overlay window.
    // The equipment is built from the last whole read of the inventory (a read cut short
    // changes nothing); a host that refuses the read gets one notice line instead of the
    // equipment lines. What was drawn is published in drawn_lines(). In free mode (and
    // without a host to anchor to) the window keeps the place it has, wherever the user
    // drags it meanwhile; pinned or extended, it goes to the host's anchor, and it is
    // hidden while the host is minimized and shown again when the host comes back.
    int32_t run() noexcept;

  private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace quilla

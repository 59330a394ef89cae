// The render worker: the one background thread. Once per refresh interval it polls the
// hot key, reads and parses the host's inventory, draws the overlay into the drawing
// surface and presents it as a per-pixel-alpha layered window.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "base/clock_win.h"
#include "base/handles_win.h"
#include "base/message_wait_win.h"
#include "overlay/drawing_surface_win.h"

namespace quilla {

struct WorkerContext;

class RenderWorker {
  public:
    // Starts the thread, which owns the surface from then on. Null when the thread could
    // not be started. The worker touches no window but the overlay (which it draws and
    // posts kTransparencyToggledMessage to) and no menu.
    static std::unique_ptr<RenderWorker> start(HWND overlay,
                                               std::unique_ptr<DrawingSurface> surface);

    RenderWorker(const RenderWorker&) = delete;
    RenderWorker& operator=(const RenderWorker&) = delete;
    ~RenderWorker();

    // Ends the worker's current pause, so that settings published just before (a new
    // interval, new texts) take effect at once. Never waits.
    void wake() noexcept;

    // Asks the worker to stop and waits for it at most timeout_ms, measured on the clock,
    // serving the messages its window calls send to this thread meanwhile. True when it
    // ended. A worker that does not end in time keeps only what it shares by ownership (its
    // context, the surface, snapshots of the settings), so it can never touch freed state.
    bool stop(uint32_t timeout_ms, Clock& clock = system_clock(),
              MessageWaitCalls& waits = system_calls<MessageWaitCalls>()) noexcept;

  private:
    RenderWorker(std::shared_ptr<WorkerContext> context, UniqueKernelHandle thread) noexcept;

    std::shared_ptr<WorkerContext> context_;
    UniqueKernelHandle thread_;
};

}  // namespace quilla

// The thread function, its context shared with the primary thread, and start, wake, stop.
#include "overlay/render_worker_win.h"

#include <process.h>

#include "base/message_wait_win.h"
#include "base/trace_win.h"
#include "overlay/render_pass_win.h"

namespace quilla {

// Shared by the primary thread and the worker; the last of the two to let go frees it.
struct WorkerContext {
    HWND overlay = nullptr;
    std::atomic<int32_t> running{1};
    // Set when running drops to 0 or the settings change, so the pause ends at once.
    // Auto-reset: each SetEvent ends one pause.
    UniqueKernelHandle wake;
    std::unique_ptr<DrawingSurface> surface;
};

namespace {

unsigned __stdcall render_worker(void* argument) {
    // The thread's own reference to the context, handed over by start().
    std::unique_ptr<std::shared_ptr<WorkerContext>> handed(
        static_cast<std::shared_ptr<WorkerContext>*>(argument));
    std::shared_ptr<WorkerContext> context = std::move(*handed);
    try {
        RenderPass pass(context->overlay, *context->surface);
        while (context->running.load() != 0) {
            const int32_t wait = pass.run();
            check(WaitForSingleObject(context->wake.get(), static_cast<DWORD>(wait)) != WAIT_FAILED,
                  "WaitForSingleObject");
        }
    } catch (...) {
        trace_exception();
        // Without memory for the pass there is nothing to draw with; end quietly.
    }
    context->surface.reset();  // the memory DC and the DIB section go with the worker
    return 0;
}

}  // namespace

std::unique_ptr<RenderWorker> RenderWorker::start(HWND overlay,
                                                  std::unique_ptr<DrawingSurface> surface) {
    auto context = std::make_shared<WorkerContext>();
    context->overlay = overlay;
    context->surface = std::move(surface);
    context->wake.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!context->wake || !context->surface) {
        return nullptr;
    }
    auto handed = std::make_unique<std::shared_ptr<WorkerContext>>(context);
    const uintptr_t thread = _beginthreadex(nullptr, 0, &render_worker, handed.get(), 0, nullptr);
    if (thread == 0) {
        return nullptr;
    }
    handed.release();  // the thread owns it now
    return std::unique_ptr<RenderWorker>(
        new RenderWorker(std::move(context), UniqueKernelHandle(reinterpret_cast<HANDLE>(thread))));
}

RenderWorker::RenderWorker(std::shared_ptr<WorkerContext> context,
                           UniqueKernelHandle thread) noexcept
    : context_(std::move(context)), thread_(std::move(thread)) {}

RenderWorker::~RenderWorker() {
    stop(0);
}

void RenderWorker::wake() noexcept {
    check(SetEvent(context_->wake.get()), "SetEvent");
}

bool RenderWorker::stop(uint32_t timeout_ms, Clock& clock, MessageWaitCalls& waits) noexcept {
    context_->running.store(0);
    check(SetEvent(context_->wake.get()), "SetEvent");
    if (!thread_) {
        return true;
    }
    // The worker's window calls (UpdateLayeredWindow moves and sizes the overlay) send
    // messages to this thread; serve them while waiting, or both threads would wait on
    // each other until the timeout.
    const bool ended =
        wait_serving_sent_messages(thread_.get(), clock, clock.now_ms() + timeout_ms, waits);
    thread_.reset();  // closed whether or not the thread has ended
    return ended;
}

}  // namespace quilla

// The render worker's thread and its pass: hot key, parse, draw, present, pause.
#include "overlay/render_worker_win.h"

#include <process.h>

#include <string_view>
#include <vector>

#include "app/context_menu_win.h"
#include "app/options.h"
#include "app/overlay_font_win.h"
#include "app/shared_state.h"
#include "host/equipment_parser.h"
#include "host/host_window_win.h"
#include "host/inventory_reader_win.h"
#include "input/hot_key.h"
#include "input/input_poller_win.h"
#include "items/item_db.h"
#include "overlay/overlay_drawing_win.h"
#include "overlay/overlay_layout.h"

namespace quilla {

// Shared by the primary thread and the worker; the last of the two to let go frees it.
struct WorkerContext {
    HWND overlay = nullptr;
    std::atomic<int32_t> running{1};
    std::atomic<HMENU> menu{nullptr};
    UniqueKernelHandle wake;  // set when running drops to 0, so the pause ends at once
    std::unique_ptr<DrawingSurface> surface;
};

namespace {

// One pass after another until the running flag drops. Lives on the worker thread.
class RenderLoop {
  public:
    explicit RenderLoop(std::shared_ptr<WorkerContext> context) noexcept
        : context_(std::move(context)),
          window_dc_(context_->overlay),
          screen_dc_(GetDesktopWindow()) {}

    void run() noexcept {
        while (context_->running.load() != 0) {
            const int32_t wait = pass();
            WaitForSingleObject(context_->wake.get(), static_cast<DWORD>(wait));
        }
    }

  private:
    // Runs one pass and returns the pause before the next, in milliseconds.
    int32_t pass() noexcept {
        try {
            const auto settings = display_settings().snapshot();
            poll_hot_key(*settings);
            DrawingSurface& surface = *context_->surface;
            SelectGuard font(surface.dc(), font_handle(settings->font));
            LOGFONTA lf;
            const int32_t line_step =
                read_logfont(font_handle(settings->font), lf) ? lf.lfHeight : 0;
            const EquipmentState state = parse(*settings);
            draw_and_present(state, *settings, line_step);
            return settings->wait > 0 ? settings->wait : 0;
        } catch (...) {
            // Out of memory in a pass: show nothing new, try again after the default pause.
            return 100;
        }
    }

    void poll_hot_key(const DisplaySettings& settings) noexcept {
        const bool enabled = settings.hook != 0;
        const int32_t polled = enabled ? poll_input() : -1;
        if (!hot_key_.update(enabled, polled, settings.hook_key)) {
            return;
        }
        options().toggle(kOptionTransparent);
        update_check_mark(context_->menu.load(), kOptionTransparent);
    }

    static EquipmentState parse(const DisplaySettings& settings) {
        const std::vector<std::string> lines = read_inventory_lines();
        const auto tables = item_database().snapshot();
        const LineOptions line_options{options().is_on(kOptionIn), options().is_on(kOptionUtsuwa),
                                       options().is_on(kOptionMaru)};
        const NothingTexts nothing{settings.weapon_text, settings.shield_text,
                                   settings.amulet_text};
        EquipmentState state = parse_equipment(lines, *tables, line_options, nothing);
        equipment_state().publish(state);
        return state;
    }

    void draw_and_present(const EquipmentState& state, const DisplaySettings& settings,
                          int32_t line_step) noexcept {
        std::vector<std::string_view> shown;
        if (options().is_on(kOptionWeapon)) {
            shown.push_back(state.weapon_line);
        }
        if (options().is_on(kOptionShield)) {
            shown.push_back(state.shield_line);
        }
        if (options().is_on(kOptionAmulet)) {
            shown.push_back(state.amulet_line);
        }
        const DrawColors colors{settings.back_color, settings.font_color, settings.edge_color};
        DrawingSurface& surface = *context_->surface;
        const Size size =
            draw_overlay(surface, shown, line_step, colors, options().is_on(kOptionTransparent));
        overlay_size().width.store(size.width);
        overlay_size().height.store(size.height);
        present(surface, size, destination(size));
    }

    // Where the overlay goes: where the user left it, or anchored to the host.
    Point destination(Size size) const noexcept {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(context_->overlay, &placement);
        Point point{placement.rcNormalPosition.left, placement.rcNormalPosition.top};
        const int32_t mode = position_mode().load();
        if (mode != 2 && mode != 3) {
            return point;
        }
        HWND host = find_host_main_window();
        if (!host) {
            return point;
        }
        if (mode == 3) {
            RECT outer;
            if (GetWindowRect(host, &outer)) {
                const int32_t width = outer.right - outer.left;
                if (auto height =
                        extended_host_height(width, outer.bottom - outer.top, size.height)) {
                    resize_host_height(host, width, *height);
                }
            }
        }
        RECT client;
        if (!GetClientRect(host, &client)) {
            return point;
        }
        POINT corner{client.left, client.bottom};
        ClientToScreen(host, &corner);
        return anchor_to_client_bottom_left({corner.x, corner.y}, size.height);
    }

    void present(const DrawingSurface& surface, Size size, Point where) noexcept {
        BitBlt(window_dc_.get(), 0, 0, size.width, size.height, surface.dc(), 0, 0,
               SRCCOPY | CAPTUREBLT);
        POINT dest{where.x, where.y};
        SIZE extent{size.width, size.height};
        POINT source{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(context_->overlay, screen_dc_.get(), &dest, &extent, surface.dc(),
                            &source, 0, &blend, ULW_ALPHA);
    }

    std::shared_ptr<WorkerContext> context_;
    WindowDc window_dc_;
    WindowDc screen_dc_;
    HotKeyPress hot_key_;
};

unsigned __stdcall render_worker(void* argument) {
    // The thread's own reference to the context, handed over by start().
    std::unique_ptr<std::shared_ptr<WorkerContext>> handed(
        static_cast<std::shared_ptr<WorkerContext>*>(argument));
    std::shared_ptr<WorkerContext> context = std::move(*handed);
    {
        RenderLoop loop(context);
        loop.run();
    }
    context->surface.reset();  // the memory DC and the DIB section go with the worker
    return 0;
}

}  // namespace

std::unique_ptr<RenderWorker> RenderWorker::start(HWND overlay, HMENU menu,
                                                  std::unique_ptr<DrawingSurface> surface) {
    auto context = std::make_shared<WorkerContext>();
    context->overlay = overlay;
    context->menu.store(menu);
    context->surface = std::move(surface);
    context->wake.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
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

bool RenderWorker::stop(uint32_t timeout_ms) noexcept {
    context_->running.store(0);
    SetEvent(context_->wake.get());
    if (!thread_) {
        return true;
    }
    // The worker's window calls (UpdateLayeredWindow moves and sizes the overlay) send
    // messages to this thread; serve them while waiting, or both threads would wait on
    // each other until the timeout.
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    bool ended = false;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        HANDLE thread = thread_.get();
        const DWORD result = MsgWaitForMultipleObjects(1, &thread, FALSE, left, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0) {
            ended = true;
            break;
        }
        if (result != WAIT_OBJECT_0 + 1) {
            break;  // timed out or failed
        }
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    thread_.reset();  // closed whether or not the thread has ended
    return ended;
}

void RenderWorker::detach_menu() noexcept {
    context_->menu.store(nullptr);
}

}  // namespace quilla

// The overlay window: class registration, creation at the saved position, the polling
// message loop, dragging, the context menu, and the start-up and shutdown order around
// the render worker.
#include "app/overlay_window_win.h"

#include <memory>
#include <string>

#include "app/context_menu_win.h"
#include "app/menu_commands_win.h"
#include "app/settings_file_win.h"
#include "app/window_position.h"
#include "base/handles_win.h"
#include "base/program_texts.h"
#include "base/saturating.h"
#include "base/window_class_win.h"
#include "config/live_settings.h"
#include "config/settings.h"
#include "host/host_window_win.h"
#include "overlay/drawing_surface_win.h"
#include "overlay/overlay_state.h"
#include "overlay/render_pass_win.h"
#include "overlay/render_worker_win.h"

namespace quilla {
namespace {

void show_startup_error(HWND owner, const std::string& code) {
    const std::string text = texts::kStartupFailed + (" " + code);
    MessageBoxA(owner, text.c_str(), texts::kErrorCaption, MB_OK);
}

class OverlayWindow {
  public:
    void attach(HWND hwnd) noexcept { hwnd_ = hwnd; }
    HWND window() const noexcept { return hwnd_; }

    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) noexcept {
        switch (message) {
            case WM_CREATE:
                return on_create();
            case WM_DESTROY:
                on_destroy();
                return 0;
            case WM_COMMAND:
                run_menu_command({hwnd_, menu_.get(), menu_point_}, LOWORD(wparam));
                return 0;
            case WM_LBUTTONDOWN:
                drag_by_free_spot(hwnd_, mouse_point(lparam));
                return 0;
            case WM_RBUTTONUP:
                show_menu();
                return 0;
            case kTransparencyToggledMessage:
                update_check_mark(menu_.get(), kOptionTransparent);
                return 0;
            default:
                return DefWindowProcA(hwnd_, message, wparam, lparam);
        }
    }

  private:
    LRESULT on_create() noexcept {
        menu_ = build_context_menu();
        SurfaceResult result = create_drawing_surface(hwnd_, GetSystemMetrics(SM_CXSCREEN),
                                                      GetSystemMetrics(SM_CYSCREEN));
        if (!result.surface) {
            // The surface reports the failed step as 1 to 4, the codes "#DC-1" to "#DC-4".
            show_startup_error(hwnd_, "#DC-" + std::to_string(result.failed_step));
            return -1;
        }
        worker_ = RenderWorker::start(hwnd_, std::move(result.surface));
        if (!worker_) {
            show_startup_error(hwnd_, "#Thread-1");
            return -1;
        }
        return 0;
    }

    void on_destroy() noexcept {
        save_settings(hwnd_);
        {
            std::lock_guard lock(host_layout_mutex());
            position_mode().store(kPositionStopping);
            restore_host_height();
        }
        if (worker_) {
            const int32_t wait = display_settings().snapshot()->wait;
            worker_->stop(worker_stop_timeout_ms(wait));
        }
        // Release our hold on the overlay font; a worker still drawing keeps its own.
        display_settings().update([](DisplaySettings& s) { s.font.reset(); });
        menu_.reset();
        PostQuitMessage(0);
    }

    void show_menu() noexcept {
        if (!menu_) {
            return;
        }
        GetCursorPos(&menu_point_);
        SetForegroundWindow(hwnd_);
        TrackPopupMenu(menu_.get(), TPM_RIGHTBUTTON, menu_point_.x, menu_point_.y, 0, hwnd_,
                       nullptr);
    }

    HWND hwnd_ = nullptr;
    UniqueMenu menu_;
    POINT menu_point_{};
    std::unique_ptr<RenderWorker> worker_;
};

// The bounding rectangle of all monitors, in screen coordinates.
Rect virtual_screen() noexcept {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, saturating_add(left, GetSystemMetrics(SM_CXVIRTUALSCREEN)),
            saturating_add(top, GetSystemMetrics(SM_CYVIRTUALSCREEN))};
}

int run_message_loop() {
    MSG msg;
    for (;;) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            Sleep(1);
            continue;
        }
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            return 0;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

int run_overlay_application(HINSTANCE instance) {
    if (!register_window_class(instance, kOverlayClassName, &window_procedure<OverlayWindow>,
                               static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)))) {
        return 1;
    }
    const Point saved = load_settings();
    const DWORD ex_style =
        options().is_on(kOptionTopMost) ? WS_EX_LAYERED | WS_EX_TOPMOST : WS_EX_LAYERED;
    const Point origin = clamp_to_screen(
        saved, {overlay_size().width.load(), overlay_size().height.load()}, virtual_screen());
    // The window object lives as long as the process: the window procedure may still be
    // called for it while the message loop winds down.
    auto* window = new OverlayWindow;
    HWND hwnd =
        CreateWindowExA(ex_style, kOverlayClassName, kOverlayTitle, WS_POPUP, origin.x, origin.y,
                        kEmptyOverlaySide, kEmptyOverlaySide, nullptr, nullptr, instance, window);
    if (!hwnd) {
        return 1;
    }
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    return run_message_loop();
}

}  // namespace quilla

// The overlay window's object and procedure, its message loop, and the run from start to exit.
#include "app/overlay_window_win.h"

#include <memory>
#include <optional>
#include <string>

#include "app/context_menu_win.h"
#include "app/menu_commands_win.h"
#include "app/overlay_exit_win.h"
#include "app/settings_file_win.h"
#include "app/window_position.h"
#include "base/code_page_win.h"
#include "base/handles_win.h"
#include "base/program_texts.h"
#include "base/saturating.h"
#include "base/seam.h"
#include "base/trace_win.h"
#include "base/window_class_win.h"
#include "config/live_settings.h"
#include "config/settings.h"
#include "input/input_poller_win.h"
#include "overlay/drawing_surface_win.h"
#include "overlay/overlay_state.h"
#include "overlay/render_pass_win.h"
#include "overlay/render_worker_win.h"
#include "ui/config_dialog_win.h"
#include "ui/item_file_actions_win.h"

namespace quilla {
namespace {

void show_startup_error(HWND owner, const std::string& code) {
    const std::string text = texts::kStartupFailed + (" " + code);
    MessageBoxW(owner, widen(text).c_str(), widen(texts::kErrorCaption).c_str(), MB_OK);
}

class OverlayWindow {
  public:
    // keep_settings_file: the settings file could not be read at start, so it is never
    // written over; keep_item_recovery: nor the item recovery file.
    OverlayWindow(bool keep_settings_file, bool keep_item_recovery) noexcept
        : keep_settings_file_(keep_settings_file), keep_item_recovery_(keep_item_recovery) {}

    void attach(HWND hwnd) noexcept { hwnd_ = hwnd; }
    HWND window() const noexcept { return hwnd_; }

    // Whether the settings could not be saved for a reason to tell the user about once
    // the window is gone. A file the user marked read-only is meant to stay as it is, and
    // at the session end Windows is ending the program, so neither is told.
    SaveFailure failure_to_report() const noexcept {
        return session_ending_ || save_failure_ == SaveFailure::kReadOnly ? SaveFailure::kNone
                                                                          : save_failure_;
    }

    // Whether to tell the user, once the window is gone, that the settings were not saved
    // because the file could not be read (not at the session end, as above).
    bool left_unread_to_report() const noexcept { return keep_settings_file_ && !session_ending_; }

    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) {
        switch (message) {
            case WM_CREATE:
                return on_create();
            case WM_DESTROY:
                on_destroy();
                return 0;
            case WM_QUERYENDSESSION:
                return TRUE;  // nothing to ask the user
            case WM_ENDSESSION:
                // Windows may end the process as soon as this returns, without
                // WM_DESTROY: go through the whole exit now, in a bounded time (see
                // on_destroy). An end that was cancelled (wparam FALSE) changes nothing.
                if (wparam) {
                    session_ending_ = true;
                    DestroyWindow(hwnd_);
                }
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
            case WM_DEVICECHANGE:
                // A pad plugged in or out: the render worker and the dialog ask the pad
                // again at once rather than after their pause.
                note_device_change();
                return DefWindowProcW(hwnd_, message, wparam, lparam);
            case kDisplaySettingsAppliedMessage:
                // A new interval or new texts take effect now, not after the current pause.
                if (worker_) {
                    worker_->wake();
                }
                return 0;
            default:
                return DefWindowProcW(hwnd_, message, wparam, lparam);
        }
    }

  private:
    LRESULT on_create() {
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

    // The exit (end_overlay, bounded at the session end), then the font and the menu.
    void on_destroy() noexcept {
        save_failure_ = end_overlay(hwnd_, worker_.get(),
                                    {session_ending_, keep_settings_file_, keep_item_recovery_});
        // Release our hold on the overlay font; a worker still drawing keeps its own.
        try {
            display_settings().update([](DisplaySettings& s) { s.font.reset(); });
        } catch (...) {
            trace_exception();  // the font stays until the exit
        }
        menu_.reset();
        PostQuitMessage(0);
    }

    void show_menu() noexcept {
        if (!menu_) {
            return;
        }
        GetCursorPos(&menu_point_);
        SetForegroundWindow(hwnd_);
        check(TrackPopupMenu(menu_.get(), TPM_RIGHTBUTTON, menu_point_.x, menu_point_.y, 0, hwnd_,
                             nullptr),
              "TrackPopupMenu");
    }

    HWND hwnd_ = nullptr;
    UniqueMenu menu_;
    POINT menu_point_{};
    std::unique_ptr<RenderWorker> worker_;
    SaveFailure save_failure_ = SaveFailure::kNone;
    bool session_ending_ = false;
    const bool keep_settings_file_;
    const bool keep_item_recovery_;
};

// The bounding rectangle of all monitors, in screen coordinates.
Rect virtual_screen() noexcept {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, saturating_add(left, GetSystemMetrics(SM_CXVIRTUALSCREEN)),
            saturating_add(top, GetSystemMetrics(SM_CYVIRTUALSCREEN))};
}

RECT to_win_rect(const Rect& r) noexcept {
    return {r.left, r.top, r.right, r.bottom};
}

// The monitors as the system reports them.
class SystemMonitors final : public MonitorCalls {
  public:
    bool touches_a_monitor(const Rect& window) noexcept override {
        const RECT rect = to_win_rect(window);
        return MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr;
    }
    std::optional<Rect> nearest_work_area(const Rect& window) noexcept override {
        const RECT rect = to_win_rect(window);
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!check(GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info),
                   "GetMonitorInfoW")) {
            return std::nullopt;
        }
        const RECT& work = info.rcWork;
        return Rect{work.left, work.top, work.right, work.bottom};
    }
};

// The overlay has nothing to do between messages, so the loop blocks in GetMessage. While
// it waits, GetMessage serves the messages other threads send to this thread, so the
// render worker's window calls on the overlay (which wait for this thread) go through.
int run_message_loop() {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            return 0;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

int run_overlay_application(HINSTANCE instance) {
    if (!register_window_class(instance, kOverlayClassName, &window_procedure<OverlayWindow>,
                               static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)))) {
        return 1;
    }
    const auto [saved, settings_file_unreadable] = load_settings();
    const bool item_recovery_unreadable = !offer_kept_items();
    const DWORD ex_style =
        options().is_on(kOptionTopMost) ? WS_EX_LAYERED | WS_EX_TOPMOST : WS_EX_LAYERED;
    const Point origin =
        opening_position(saved, {overlay_size().width.load(), overlay_size().height.load()},
                         virtual_screen(), system_calls<SystemMonitors>());
    // The window object lives as long as the process: the window procedure may still be
    // called for it while the message loop winds down.
    auto* window = new OverlayWindow(settings_file_unreadable, item_recovery_unreadable);
    HWND hwnd =
        CreateWindowExW(ex_style, widen(kOverlayClassName).c_str(), widen(kOverlayTitle).c_str(),
                        WS_POPUP, origin.x, origin.y, kEmptyOverlaySide, kEmptyOverlaySide, nullptr,
                        nullptr, instance, window);
    int exit_code = 1;
    if (hwnd) {
        ShowWindow(hwnd, SW_SHOW);
        UpdateWindow(hwnd);
        exit_code = run_message_loop();
    }
    // A failed save is told only now, with the window and the render worker gone, so that
    // nothing runs behind the box. (A failed creation destroys the window and saves too.)
    if (window->left_unread_to_report()) {
        show_settings_left_unread();
    } else if (const SaveFailure failure = window->failure_to_report();
               failure != SaveFailure::kNone) {
        show_settings_save_failure(failure);
    }
    return exit_code;
}

}  // namespace quilla

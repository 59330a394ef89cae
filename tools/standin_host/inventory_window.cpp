// The stand-in host's inventory window. The system list box is created as a top-level
// window (the overlay finds it with FindWindowA) and subclassed only to learn when the
// user closes it.
#include "tools/standin_host/inventory_window.h"

#include "base/code_page_win.h"
#include "base/file_win.h"
#include "base/text.h"

namespace quilla::standin {
namespace {

constexpr char kOwnerProperty[] = "QuillaStandinInventory";
// The host's inventory window, spelled out here on its own (see main_window.cpp).
constexpr char kInventoryClass[] = "ListBox";
constexpr char kInventoryTitle[] = "クイラ　持ち物ウィンドウ";
// A held answer is given anyway after this long, so a test that never lets go does not
// leave the stand-in waiting for good.
constexpr DWORD kHoldBoundMs = 10 * 60 * 1000;

bool file_is_missing(const std::string& path) noexcept {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

std::vector<std::string> split_inventory_lines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
    }
    return lines;
}

InventoryWindow::InventoryWindow(std::string path, int32_t reply_delay_ms, bool held)
    : path_(std::move(path)), reply_delay_ms_(reply_delay_ms) {
    if (reply_delay_ms_ > 0 || held) {
        answering_.reset(
            CreateEventA(nullptr, TRUE, FALSE, query_event_name(GetCurrentProcessId()).c_str()));
    }
    if (held) {
        released_.reset(
            CreateEventA(nullptr, TRUE, FALSE, release_event_name(GetCurrentProcessId()).c_str()));
    }
}

InventoryWindow::~InventoryWindow() {
    if (window_) {
        SetWindowLongPtrA(window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(list_box_proc_));
        RemovePropA(window_.get(), kOwnerProperty);
        window_.reset();
    }
}

void InventoryWindow::open(HWND owner, HINSTANCE instance, const RECT& placement,
                           HFONT font) noexcept {
    if (window_) {
        return;
    }
    window_.reset(
        CreateWindowExA(0, kInventoryClass, kInventoryTitle,
                        WS_OVERLAPPEDWINDOW | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS,
                        placement.left, placement.top, placement.right - placement.left,
                        placement.bottom - placement.top, owner, nullptr, instance, nullptr));
    if (!window_) {
        return;
    }
    SetPropA(window_.get(), kOwnerProperty, this);
    list_box_proc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&InventoryWindow::subclass_proc)));
    if (font) {
        SendMessageA(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    fill();
    ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
}

void InventoryWindow::poll_file() noexcept {
    std::optional<std::string> now = read_file_bytes(widen(path_));
    if (!now) {
        if (!file_is_missing(path_)) {
            return;  // there but unreadable for a moment (being written): try again later
        }
        now.emplace();
    }
    if (contents_ == now) {
        return;
    }
    contents_ = std::move(now);
    lines_ = split_inventory_lines(*contents_);
    fill();
}

void InventoryWindow::fill() noexcept {
    HWND list = window_.get();
    if (!list) {
        return;
    }
    const LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines_) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    if (top > 0) {
        SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

LRESULT CALLBACK InventoryWindow::subclass_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* self = static_cast<InventoryWindow*>(GetPropA(hwnd, kOwnerProperty));
    if (!self) {
        return DefWindowProcA(hwnd, msg, wparam, lparam);
    }
    return self->handle(hwnd, msg, wparam, lparam);
}

LRESULT InventoryWindow::handle(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) noexcept {
    const WNDPROC list_box_proc = list_box_proc_;
    if (released_ && msg == LB_GETCOUNT) {
        SetEvent(answering_.get());
        WaitForSingleObject(released_.get(), kHoldBoundMs);
        const LRESULT answer = CallWindowProcA(list_box_proc, hwnd, msg, wparam, lparam);
        ResetEvent(answering_.get());
        return answer;
    }
    if (reply_delay_ms_ > 0 && (msg == LB_GETCOUNT || msg == LB_GETTEXTLEN || msg == LB_GETTEXT)) {
        if (msg == LB_GETCOUNT) {
            SetEvent(answering_.get());
        }
        Sleep(static_cast<DWORD>(reply_delay_ms_));
        const LRESULT answer = CallWindowProcA(list_box_proc, hwnd, msg, wparam, lparam);
        ResetEvent(answering_.get());
        return answer;
    }
    if (msg == WM_NCDESTROY) {
        // Closed by the user or with its owner: forget it, so a later F3 opens a new one.
        RemovePropA(hwnd, kOwnerProperty);
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(list_box_proc));
        window_.release();
        list_box_proc_ = nullptr;
    }
    return CallWindowProcA(list_box_proc, hwnd, msg, wparam, lparam);
}

}  // namespace quilla::standin

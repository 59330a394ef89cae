// The stand-in host's main window. The host contract it plays: when the window is in the
// foreground while F3 is down in its input state (a key press, or another program that
// attached its input and set F3 with SetKeyboardState), the inventory window opens and
// stays open. The state is checked on activation and on a short timer, because the other
// program sets F3 only after bringing the window forward.
#include "tools/standin_host/main_window.h"

#include <string>

namespace quilla::standin {
namespace {

constexpr UINT_PTR kFilePollTimer = 1;
constexpr UINT kFilePollMs = 50;
constexpr UINT_PTR kF3Timer = 2;
constexpr UINT kF3PollMs = 10;  // the requester holds F3 for about 100 ms
constexpr int kInventoryWidth = 320;
constexpr int kInventoryGap = 8;
constexpr char kTitle[] = "クイラ（代役ホスト）";
// The host's main window classes, spelled out here on their own so that a wrong name on
// the overlay's side shows up in the end-to-end tests.
constexpr char kMainClass[] = "QUILLA_BRISKOLT_APPLICATION";
constexpr char kTrialMainClass[] = "QUILLA_TRIAL_BRISKOLT_APPLICATION";

UniqueFont make_font(int height, int weight) noexcept {
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(font.lfFaceName, "ＭＳ ゴシック", LF_FACESIZE);
    return UniqueFont(CreateFontIndirectA(&font));
}

void draw_line(HDC dc, int x, int& y, HFONT font, const std::string& text) noexcept {
    SelectGuard select(dc, font);
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    y += metrics.tmHeight + 6;
}

}  // namespace

MainWindow::MainWindow(const Options& options, HINSTANCE instance)
    : options_(options),
      instance_(instance),
      title_font_(make_font(-22, FW_BOLD)),
      text_font_(make_font(-14, FW_NORMAL)),
      inventory_(options.inventory_path, options.inventory_reply_delay_ms, options.inventory_held) {
}

bool MainWindow::create() noexcept {
    const char* class_name = options_.trial ? kTrialMainClass : kMainClass;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &MainWindow::window_proc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = class_name;
    if (!RegisterClassExA(&wc)) {
        return false;
    }
    HWND hwnd = CreateWindowExA(0, class_name, kTitle, WS_OVERLAPPEDWINDOW, options_.x, options_.y,
                                options_.width, options_.height, nullptr, nullptr, instance_, this);
    if (!hwnd) {
        return false;
    }
    inventory_.poll_file();
    if (!options_.closed) {
        open_inventory();
    }
    SetTimer(hwnd, kFilePollTimer, kFilePollMs, nullptr);
    SetTimer(hwnd, kF3Timer, kF3PollMs, nullptr);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    return true;
}

LRESULT CALLBACK MainWindow::window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
        auto* self = static_cast<MainWindow*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcA(hwnd, msg, wparam, lparam);
    }
    const LRESULT result = self->handle(msg, wparam, lparam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

LRESULT MainWindow::handle(UINT msg, WPARAM wparam, LPARAM lparam) noexcept {
    switch (msg) {
        case WM_ACTIVATE:
            if (LOWORD(wparam) != WA_INACTIVE) {
                open_inventory_if_f3_held();
            }
            break;  // the default handling sets the focus
        case WM_KEYDOWN:
            if (wparam == VK_F3) {
                open_inventory();
                return 0;
            }
            break;
        case WM_TIMER:
            on_timer(wparam);
            return 0;
        case WM_SIZE:
            InvalidateRect(hwnd_, nullptr, TRUE);
            break;
        case WM_PAINT:
            paint();
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd_, kFilePollTimer);
            KillTimer(hwnd_, kF3Timer);
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd_, msg, wparam, lparam);
}

void MainWindow::on_timer(WPARAM id) noexcept {
    if (id == kFilePollTimer) {
        inventory_.poll_file();
    } else if (id == kF3Timer) {
        open_inventory_if_f3_held();
    }
}

void MainWindow::open_inventory_if_f3_held() noexcept {
    if (inventory_.is_open() || GetForegroundWindow() != hwnd_) {
        return;
    }
    if (GetKeyState(VK_F3) < 0) {
        open_inventory();
    }
}

void MainWindow::open_inventory() noexcept {
    RECT main{};
    GetWindowRect(hwnd_, &main);
    const RECT placement{main.right + kInventoryGap, main.top,
                         main.right + kInventoryGap + kInventoryWidth, main.bottom};
    inventory_.open(hwnd_, instance_, placement, text_font_.get());
}

void MainWindow::paint() noexcept {
    PaintDc scope(hwnd_);
    HDC dc = scope.get();
    if (!dc) {
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT client{};
    GetClientRect(hwnd_, &client);
    int y = 16;
    const int x = 16;
    draw_line(dc, x, y, title_font_.get(),
              options_.trial ? std::string(kTitle) + " 体験版" : kTitle);
    draw_line(dc, x, y, text_font_.get(), "持ち物ファイル: " + inventory_.path());
    draw_line(dc, x, y, text_font_.get(), "F3 キーで持ち物ウィンドウを開きます");
    draw_line(dc, x, y, text_font_.get(),
              "クライアント領域: " + std::to_string(client.right) + " x " +
                  std::to_string(client.bottom));
}

}  // namespace quilla::standin

// What every window of the program shares: the window procedure (a window reaches its
// object from creation on and forgets it at WM_NCDESTROY, its last message, which the
// object still receives), the point of a mouse message, centring on the screen and the
// instance a window belongs to.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/window_class_win.h"

namespace quilla {
namespace {

constexpr char kProbeClass[] = "QuillaWindowClassProbe";

class Probe {
  public:
    void attach(HWND hwnd) noexcept { hwnd_ = hwnd; }
    HWND window() const noexcept { return hwnd_; }
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) noexcept {
        if (message == WM_NCDESTROY) {
            saw_last_message = true;
            pointer_at_last_message = GetWindowLongPtrA(hwnd_, GWLP_USERDATA);
        }
        return DefWindowProcA(hwnd_, message, wparam, lparam);
    }

    bool saw_last_message = false;
    LONG_PTR pointer_at_last_message = -1;

  private:
    HWND hwnd_ = nullptr;
};

TEST(WindowProcedure, TheWindowForgetsItsObjectAtItsLastMessage) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(register_window_class(instance, kProbeClass, &window_procedure<Probe>, nullptr));
    Probe probe;
    HWND hwnd = CreateWindowExA(0, kProbeClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                instance, &probe);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&probe));
    ASSERT_TRUE(DestroyWindow(hwnd));
    EXPECT_TRUE(probe.saw_last_message);
    EXPECT_EQ(probe.pointer_at_last_message, 0);
}

TEST(WindowClass, MousePointKeepsTheSignOfEachCoordinate) {
    struct Case {
        WORD x, y;
        LONG want_x, want_y;
    };
    for (const Case& c : {Case{5, 7, 5, 7}, Case{0xFFFB, 3, -5, 3}, Case{12, 0xFFFE, 12, -2},
                          Case{0x7FFF, 0x8000, 32767, -32768}}) {
        const POINT p = mouse_point(MAKELPARAM(c.x, c.y));
        EXPECT_EQ(p.x, c.want_x) << c.x;
        EXPECT_EQ(p.y, c.want_y) << c.y;
    }
}

TEST(WindowClass, CentresOnThePrimaryScreenAndFindsTheInstance) {
    const int screen_width = GetSystemMetrics(SM_CXSCREEN);
    const int screen_height = GetSystemMetrics(SM_CYSCREEN);
    for (const SIZE size : {SIZE{420, 320}, SIZE{307, 431}, SIZE{1, 1}}) {
        const POINT origin = centred_on_screen(size.cx, size.cy);
        // Equal margins on both sides, give or take the odd pixel.
        EXPECT_LE(std::abs(origin.x - (screen_width - origin.x - size.cx)), 1) << size.cx;
        EXPECT_LE(std::abs(origin.y - (screen_height - origin.y - size.cy)), 1) << size.cy;
    }

    const HINSTANCE program = GetModuleHandleA(nullptr);
    EXPECT_EQ(window_instance(nullptr), program);
    const HINSTANCE other = GetModuleHandleA("user32.dll");
    ASSERT_NE(other, nullptr);
    HWND window =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, other, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window_instance(window), other);
    DestroyWindow(window);
}

}  // namespace
}  // namespace quilla

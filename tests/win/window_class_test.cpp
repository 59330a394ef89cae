// The shared window procedure: a window reaches its object from creation on, and forgets
// it at WM_NCDESTROY, its last message, which the object still receives.
#include "base/window_class_win.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quilla

// Windows of this process standing in for another program's: a window class registered
// for a test's lifetime, and a top-level window of any class.
#pragma once

#include <windows.h>

#include "base/handles_win.h"

namespace quilla::test_support {

// A top-level window of any class, made in this process and destroyed at the end.
inline UniqueWindow local_window(const char* class_name, const char* title) {
    return UniqueWindow(CreateWindowExA(0, class_name, title, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                                        nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
}

// Registers a window class of the given name for the test's lifetime.
class LocalClass {
  public:
    explicit LocalClass(const char* name) : name_(name) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = name;
        registered_ = RegisterClassA(&wc) != 0;
    }
    LocalClass(const LocalClass&) = delete;
    LocalClass& operator=(const LocalClass&) = delete;
    ~LocalClass() {
        if (registered_) {
            UnregisterClassA(name_, GetModuleHandleA(nullptr));
        }
    }
    bool ok() const noexcept { return registered_; }

  private:
    const char* name_;
    bool registered_ = false;
};

}  // namespace quilla::test_support

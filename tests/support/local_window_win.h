// Windows of this process standing in for another program's: a window class registered
// for a test's lifetime, a top-level window of any class, and one whose thread reads no
// messages until the test releases it.
#pragma once

#include <windows.h>

#include "base/handles_win.h"
#include "tools/launch/wait_win.h"

#include <atomic>
#include <thread>

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

// A top-level window made on a thread of its own, which then reads no messages until
// release() or the end of the object: the window of a program that is busy (loading, or
// stuck; after 5 seconds the system counts it as hung). A message sent to it gets no answer
// while it is held. The hold also ends after the usual deadline, so that code which does
// wait for the window ends, and fails its test, rather than hanging it.
class SilentWindow {
  public:
    SilentWindow(const char* class_name, const char* title)
        : release_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        UniqueKernelHandle made(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        if (!release_ || !made) {
            return;
        }
        thread_ = std::thread([this, class_name, title, made = made.get()] {
            const UniqueWindow window = local_window(class_name, title);
            window_ = window.get();
            thread_id_ = GetCurrentThreadId();
            SetEvent(made);
            released_ =
                WaitForSingleObject(release_.get(), launch::deadline_ms(launch::kUsualWaitMs)) ==
                WAIT_OBJECT_0;
        });
        WaitForSingleObject(made.get(), INFINITE);  // the thread sets it whatever happens
    }
    SilentWindow(const SilentWindow&) = delete;
    SilentWindow& operator=(const SilentWindow&) = delete;
    ~SilentWindow() { release(); }

    // The window, or null when it could not be made.
    HWND get() const noexcept { return window_; }
    // The thread that made it.
    DWORD thread_id() const noexcept { return thread_id_; }
    // Lets the thread go on and waits until it has ended, and its window with it. False
    // when the hold had already run out: something waited for the window that long.
    bool release() {
        SetEvent(release_.get());
        if (thread_.joinable()) {
            thread_.join();
        }
        return released_;
    }

  private:
    UniqueKernelHandle release_;
    std::atomic<HWND> window_{nullptr};
    std::atomic<DWORD> thread_id_{0};
    std::atomic<bool> released_{false};
    std::thread thread_;
};

}  // namespace quilla::test_support

// Waiting in tests and tools: one deadline rule for every wait, scaled by one load factor,
// and a round trip through another thread's message queue.
//
// Every timeout a test gives is what an idle machine needs with room to spare; the load
// factor (QUILLA_TEST_LOAD_FACTOR, 1 to 20, default 2) stretches all of them alike on a
// busy machine. Times are DWORD milliseconds: <chrono> cannot be included under the
// Shift-JIS execution character set.
#pragma once

#include <windows.h>

#include <cstdlib>

namespace quilla::launch {

// The usual deadline of a wait for something the program does at once (a window, a
// redraw, a file), before the load factor.
inline constexpr DWORD kUsualWaitMs = 10000;

inline DWORD load_factor() {
    static const DWORD factor = [] {
        const char* text = std::getenv("QUILLA_TEST_LOAD_FACTOR");
        const long value = text ? std::strtol(text, nullptr, 10) : 0;
        return value >= 1 && value <= 20 ? static_cast<DWORD>(value) : DWORD{2};
    }();
    return factor;
}

// A timeout given for an idle machine, stretched by the load factor.
inline DWORD deadline_ms(DWORD idle_ms) {
    return idle_ms * load_factor();
}

// Runs check() until it returns true or the deadline (timeout_ms times the load factor)
// passes, dispatching this thread's window messages in between and waking early when
// also_wake_on is signalled. Returns the last result of check(); say in the failure
// message what was waited for.
template <typename Check>
bool wait_until(Check check, DWORD timeout_ms = kUsualWaitMs, HANDLE also_wake_on = nullptr) {
    const ULONGLONG deadline = GetTickCount64() + deadline_ms(timeout_ms);
    for (;;) {
        if (check()) {
            return true;
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return check();
        }
        const DWORD slice = static_cast<DWORD>(deadline - now < 5 ? deadline - now : 5);
        const DWORD handles = also_wake_on ? 1 : 0;
        MsgWaitForMultipleObjects(handles, also_wake_on ? &also_wake_on : nullptr, FALSE, slice,
                                  QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

// Returns true once the window's thread has handled the messages sent to it before this
// call (an asynchronous resize included) and come back to its message loop; false when it
// did not answer within the usual deadline. A message posted before is not waited for.
inline bool sync_with(HWND hwnd) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_BLOCK, deadline_ms(kUsualWaitMs),
                               &ignored) != 0;
}

}  // namespace quilla::launch

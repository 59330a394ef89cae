// Joystick calls for a pad that is absent or was unplugged, on a system where asking for
// it is slow: each query waits kSlowPadCallMs and fails, as Windows 10 is known to for a
// pad that was once connected. The slow calls are counted.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <atomic>

#include "input/input_poller_win.h"

namespace quilla::test_support {

inline constexpr DWORD kSlowPadCallMs = 300;

// The slow calls made so far, from any thread.
inline std::atomic<int>& slow_pad_calls() {
    static std::atomic<int> calls{0};
    return calls;
}

inline UINT WINAPI sixteen_pads() {
    return 16;
}
inline MMRESULT WINAPI slow_missing_caps(UINT_PTR, JOYCAPSW*, UINT) {
    ++slow_pad_calls();
    Sleep(kSlowPadCallMs);
    return JOYERR_UNPLUGGED;
}
inline MMRESULT WINAPI slow_missing_position(UINT, JOYINFOEX*) {
    ++slow_pad_calls();
    Sleep(kSlowPadCallMs);
    return JOYERR_UNPLUGGED;
}

inline JoystickCalls slow_missing_pad() {
    return {&sixteen_pads, &slow_missing_caps, &slow_missing_position, &GetTickCount64};
}

}  // namespace quilla::test_support

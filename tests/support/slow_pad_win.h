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

class SlowMissingPad : public JoystickCalls {
  public:
    UINT count() override { return 16; }
    MMRESULT caps(UINT_PTR, JOYCAPSW*, UINT) override { return slow_failure(); }
    MMRESULT position(UINT, JOYINFOEX*) override { return slow_failure(); }

    // The slow calls made so far, read from any thread.
    int calls() const noexcept { return calls_.load(); }

  private:
    MMRESULT slow_failure() {
        ++calls_;
        Sleep(kSlowPadCallMs);
        return JOYERR_UNPLUGGED;
    }

    std::atomic<int> calls_{0};
};

}  // namespace quilla::test_support

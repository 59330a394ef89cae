// The input poller against the real system: asynchronous key state and the multimedia
// joystick interface (joystick id 0).
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <optional>

#include "base/clock_win.h"
#include "base/seam.h"
#include "input/input_poller.h"
#include "input/pad_retry.h"

namespace quilla {

// The joystick calls the poller makes for pad 0. Tests pass slow or failing ones; the
// program always uses the system's.
class JoystickCalls {
  public:
    virtual ~JoystickCalls() = default;
    virtual UINT count() { return joyGetNumDevs(); }
    virtual MMRESULT caps(UINT_PTR id, JOYCAPSW* caps, UINT size) {
        return joyGetDevCapsW(id, caps, size);
    }
    virtual MMRESULT position(UINT id, JOYINFOEX* info) { return joyGetPosEx(id, info); }
};

// GetAsyncKeyState: true when the virtual key is down at this moment.
bool system_key_down(int vk) noexcept;

// Pad 0 read through the calls: its axis limits and whether it has a hat, and its
// position and buttons, with the hat's position only when caps say it has one (the hat
// stays kHatCentred otherwise); nothing when the query fails. With a retry record, a pad
// query that fails is not repeated until the record allows it on the clock, and nothing
// comes back meanwhile.
std::optional<JoyCaps> joystick_caps(JoystickCalls& calls = system_calls<JoystickCalls>(),
                                     PadRetry* retry = nullptr,
                                     Clock& clock = system_clock()) noexcept;
std::optional<JoyPos> joystick_position(const JoyCaps& caps,
                                        JoystickCalls& calls = system_calls<JoystickCalls>(),
                                        PadRetry* retry = nullptr,
                                        Clock& clock = system_clock()) noexcept;

// The code of the first input down: the first key the scan finds down through keys
// (first_key_down), else pad 0 read through pad and decoded (decode_pad), else kNoInput.
// The pad is not asked while a key is down, nor for its position when its capabilities
// cannot be read, nor at all when the system supports no joystick.
int32_t poll_input(InputCalls& keys, JoystickCalls& pad, PadRetry* retry = nullptr,
                   Clock& clock = system_clock());

// Counts a device change that Windows reported (WM_DEVICECHANGE): every poller asks a pad
// that did not answer again on its next poll. Callable from any thread.
void note_device_change() noexcept;

// The device changes counted so far.
uint32_t device_change_count() noexcept;

// A poller for one thread (the render worker's passes, the dialog's capture timer): a pad
// that does not answer is asked again only after kPadRetryMs on the clock or a device
// change, so an absent or unplugged pad, slow to report its absence, does not slow every
// poll. The keys are the system's. The calls and the clock must outlive the poller.
class InputPoller {
  public:
    explicit InputPoller(JoystickCalls& calls = system_calls<JoystickCalls>(),
                         Clock& clock = system_clock()) noexcept
        : calls_(calls), clock_(clock) {}

    // The code of the first input down right now, or kNoInput (-1).
    int32_t poll() noexcept;

  private:
    JoystickCalls& calls_;
    Clock& clock_;
    PadRetry retry_;
};

}  // namespace quilla

// The input poller against the real system: asynchronous key state and the multimedia
// joystick interface (joystick id 0).
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <optional>

#include "input/input_poller.h"
#include "input/pad_retry.h"

namespace quilla {

// The joystick calls the poller makes for pad 0, and the clock its pause after a pad that
// did not answer is measured on. Tests pass slow or failing ones; the program always uses
// the real ones.
struct JoystickCalls {
    decltype(&joyGetNumDevs) count = &joyGetNumDevs;
    decltype(&joyGetDevCapsW) caps = &joyGetDevCapsW;
    decltype(&joyGetPosEx) position = &joyGetPosEx;
    decltype(&GetTickCount64) tick_count = &GetTickCount64;
};

// GetAsyncKeyState: true when the virtual key is down at this moment.
bool system_key_down(int vk) noexcept;

// Pad 0 read through the calls: its axis limits, and its position and buttons; nothing
// when the query fails. With a retry record, a pad query that fails is not repeated
// until the record allows it, and nothing comes back meanwhile.
std::optional<JoyCaps> joystick_caps(const JoystickCalls& calls = {},
                                     PadRetry* retry = nullptr) noexcept;
std::optional<JoyPos> joystick_position(const JoystickCalls& calls = {},
                                        PadRetry* retry = nullptr) noexcept;

// The code of the first input down: the first key the scan finds down through keys
// (first_key_down), else pad 0 read through pad and decoded (decode_pad), else kNoInput.
// The pad is not asked while a key is down, nor for its position when its capabilities
// cannot be read, nor at all when the system supports no joystick.
int32_t poll_input(const InputCalls& keys, const JoystickCalls& pad, PadRetry* retry = nullptr);

// Counts a device change that Windows reported (WM_DEVICECHANGE): every poller asks a pad
// that did not answer again on its next poll. Callable from any thread.
void note_device_change() noexcept;

// The device changes counted so far.
uint32_t device_change_count() noexcept;

// A poller for one thread (the render worker's passes, the dialog's capture timer): a pad
// that does not answer is asked again only after kPadRetryMs or a device change, so an
// absent or unplugged pad, slow to report its absence, does not slow every poll.
class InputPoller {
  public:
    explicit InputPoller(const JoystickCalls& calls = {}) noexcept : calls_(calls) {}

    // The code of the first input down right now, or kNoInput (-1).
    int32_t poll() noexcept;

  private:
    JoystickCalls calls_;
    PadRetry retry_;
};

}  // namespace quilla

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
    decltype(&joyGetDevCapsA) caps = &joyGetDevCapsA;
    decltype(&joyGetPosEx) position = &joyGetPosEx;
    decltype(&GetTickCount64) tick_count = &GetTickCount64;
};

// Key and joystick state read live from user32 and winmm on every query. With a retry
// record, a pad query that fails is not repeated until the record allows it.
class Win32InputState final : public InputState {
  public:
    explicit Win32InputState(const JoystickCalls& calls = {}, PadRetry* retry = nullptr) noexcept
        : calls_(calls), retry_(retry) {}

    bool key_down(int vk) const override;
    uint32_t joystick_count() const override;
    std::optional<JoyCaps> joystick_caps() const override;
    std::optional<JoyPos> joystick_position() const override;

  private:
    bool may_ask() const noexcept;
    void answered(bool ok) const noexcept;

    JoystickCalls calls_;
    PadRetry* retry_;
};

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

// The code of the first input down right now, or kNoInput (-1), asking the pad every
// time. Keeps no state; callable from any thread.
int32_t poll_input();

}  // namespace quilla

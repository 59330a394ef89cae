// The input poller against the real system: asynchronous key state and the multimedia
// joystick interface (joystick id 0).
#pragma once

#include <cstdint>
#include <optional>

#include "input/input_poller.h"

namespace quilla {

// Key and joystick state read live from user32 and winmm on every query.
class Win32InputState final : public InputState {
  public:
    bool key_down(int vk) const override;
    uint32_t joystick_count() const override;
    std::optional<JoyCaps> joystick_caps() const override;
    std::optional<JoyPos> joystick_position() const override;
};

// The code of the first input down right now, or kNoInput (-1). Keeps no state; callable
// from any thread.
int32_t poll_input();

}  // namespace quilla

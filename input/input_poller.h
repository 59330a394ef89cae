// The input poller: which scanned key, mouse button, pad button or pad direction is down
// right now. The platform's key and joystick state comes in through InputState, so the
// scan order and the pad decoding run the same against the real system and a test fake.
#pragma once

#include <cstdint>
#include <optional>

namespace quilla {

// Axis limits of the first pad.
struct JoyCaps {
    uint32_t x_min, x_max, y_min, y_max;
};

// Axis positions and the button mask (bit 0 is button 1) of the first pad.
struct JoyPos {
    uint32_t x, y, buttons;
};

class InputState {
  public:
    virtual ~InputState() = default;
    // True when the virtual key is down at this moment.
    virtual bool key_down(int vk) const = 0;
    // How many joysticks the system's joystick service supports; 0 without one.
    virtual uint32_t joystick_count() const = 0;
    // Axis limits of joystick 0; nothing when the query fails.
    virtual std::optional<JoyCaps> joystick_caps() const = 0;
    // Position and buttons of joystick 0; nothing when the query fails.
    virtual std::optional<JoyPos> joystick_position() const = 0;
};

// The code of the first input found down: keys and mouse buttons in their fixed scan
// order, then the buttons of pad 0 from button 1 up, then its directions (up, down, left,
// right; only a fully deflected axis counts). kNoInput (-1) when nothing is down.
int32_t poll_input(const InputState& state);

// The pad part of the scan on its own: the first pressed button, else a fully deflected
// direction, else kNoInput.
int32_t decode_pad(const JoyCaps& caps, const JoyPos& pos) noexcept;

}  // namespace quilla

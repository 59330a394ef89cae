// The input poller's portable part: which scanned key or mouse button is down, in the
// fixed scan order, and what the state of pad 0 means. The key state comes in through
// InputCalls, so the scan runs the same against the real system and a test's stand-in;
// the system's side reads the pad and decodes it here (input/input_poller_win.h).
#pragma once

#include <cstdint>

namespace quilla {

// Axis limits of the first pad.
struct JoyCaps {
    uint32_t x_min, x_max, y_min, y_max;
};

// Axis positions and the button mask (bit 0 is button 1) of the first pad.
struct JoyPos {
    uint32_t x, y, buttons;
};

// The key state the scan reads: the program passes the system's
// (input/input_poller_win.cpp), tests their own.
class InputCalls {
  public:
    virtual ~InputCalls() = default;
    // True when the virtual key is down at this moment.
    virtual bool key_down(int vk) = 0;
};

// The first key or mouse button found down, in the fixed scan order; kNoInput (-1) when
// none is. Each scanned key is asked once, in that order, until one is down.
int32_t first_key_down(InputCalls& calls);

// The pad part of the scan: the first pressed button from button 1 up, else a fully
// deflected direction (up, down, left, right; only a fully deflected axis counts), else
// kNoInput.
int32_t decode_pad(const JoyCaps& caps, const JoyPos& pos) noexcept;

}  // namespace quilla

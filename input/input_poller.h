// The input poller's portable part: which scanned key or mouse button is down, in the
// fixed scan order, and what the state of pad 0 means. The key state comes in through
// InputCalls, so the scan runs the same against the real system and a test's stand-in;
// the system's side reads the pad and decodes it here (input/input_poller_win.h).
#pragma once

#include <cstdint>

namespace quilla {

// What a point-of-view hat reports when no direction is pressed.
inline constexpr uint32_t kHatCentred = 0xFFFF;

// Axis limits of the first pad, and whether it has a point-of-view hat (most pads report
// their D-pad as one).
struct JoyCaps {
    uint32_t x_min, x_max, y_min, y_max;
    bool has_hat = false;
};

// Axis positions, the button mask (bit 0 is button 1) and the hat of the first pad. The
// hat is in hundredths of a degree clockwise from forward (0 up, 9000 right, 18000 down,
// 27000 left), or kHatCentred, as it is for a pad without one.
struct JoyPos {
    uint32_t x, y, buttons;
    uint32_t hat = kHatCentred;
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
// the hat's direction (only straight up, right, down or left: a diagonal counts as none),
// else kNoInput.
int32_t decode_pad(const JoyCaps& caps, const JoyPos& pos) noexcept;

}  // namespace quilla

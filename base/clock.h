// The one clock every timed path of the program measures and waits by: saves and reads
// that wait for a held file, the pad's pause after a pad that did not answer, the poll of
// the inventory window request, the inventory read's budget, the update check's limits
// and the render worker's stop.
#pragma once

#include <cstdint>

namespace quilla {

// Milliseconds that only go forward, and a pause. The program uses the system's
// (system_clock, base/clock_win.h); a test passes its own, whose time moves only when the
// test or a pause moves it, so no test waits for a budget to run out.
class Clock {
  public:
    virtual ~Clock() = default;
    // The time in milliseconds since some fixed moment.
    virtual uint64_t now_ms() = 0;
    // Waits for about ms milliseconds (on Windows at least a scheduler tick, for ms > 0).
    virtual void pause(uint32_t ms) = 0;
};

}  // namespace quilla

// Polling for something within a bound on elapsed time rather than on a number of polls:
// a pause can last much longer than asked (Sleep(1) lasts a scheduler tick on Windows,
// about 15.6 ms), so counting pauses says little about the time spent.
#pragma once

#include <cstdint>
#include <functional>

#include "base/clock.h"

namespace quilla {

// The pause between two polls, in milliseconds.
inline constexpr uint32_t kPollPauseMs = 1;

// Pauses kPollPauseMs, then asks found(), until it answers true or budget_ms have passed
// on the clock since the call (the poll made at that moment still counts). True when
// found.
bool poll_within(uint64_t budget_ms, Clock& clock, const std::function<bool()>& found);

}  // namespace quilla

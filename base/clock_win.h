// The system's clock: GetTickCount64 and Sleep.
#pragma once

#include "base/clock.h"

namespace quilla {

// The tick count, and Sleep (which lasts at least a scheduler tick, about 15.6 ms, on
// Windows). Shared by every thread.
Clock& system_clock() noexcept;

}  // namespace quilla

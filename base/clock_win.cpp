// The tick count and Sleep behind the Clock interface.
#include "base/clock_win.h"

#include <windows.h>

#include "base/seam.h"

namespace quilla {
namespace {

class SystemClock final : public Clock {
  public:
    uint64_t now_ms() override { return GetTickCount64(); }
    void pause(uint32_t ms) override { Sleep(ms); }
};

}  // namespace

Clock& system_clock() noexcept {
    return system_calls<SystemClock>();
}

}  // namespace quilla

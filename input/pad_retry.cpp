// The pause's arithmetic on the clock and the count of device changes.
#include "input/pad_retry.h"

namespace quilla {

bool PadRetry::may_ask(uint64_t now_ms, uint32_t device_changes) const noexcept {
    if (!failed_ || device_changes != changes_at_failure_) {
        return true;
    }
    // A clock that went back (it never should) ends the pause rather than stretching it.
    return now_ms < failed_at_ || now_ms - failed_at_ >= kPadRetryMs;
}

void PadRetry::answered(bool ok, uint64_t now_ms, uint32_t device_changes) noexcept {
    failed_ = !ok;
    failed_at_ = now_ms;
    changes_at_failure_ = device_changes;
}

}  // namespace quilla

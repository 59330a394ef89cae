// When the first pad is asked again after it did not answer. Asking the system for a pad
// that is absent or was unplugged can take hundreds of milliseconds each time, so a pad
// that did not answer is left alone for a while, or until the system reports that its
// devices changed. A pad that answers is read on every poll.
#pragma once

#include <cstdint>

namespace quilla {

// How long a pad that did not answer is left alone, in milliseconds.
inline constexpr uint64_t kPadRetryMs = 2000;

class PadRetry {
  public:
    // Whether the pad may be asked at now_ms (any clock that counts milliseconds and does
    // not go back). device_changes is the count of device changes the system has reported
    // so far; a count other than the one seen at the last failure ends the pause at once.
    bool may_ask(uint64_t now_ms, uint32_t device_changes) const noexcept;

    // What the pad did when it was asked at now_ms. device_changes is the count taken
    // before the query was made, so that a change reported while the query ran ends the
    // pause that a failure starts.
    void answered(bool ok, uint64_t now_ms, uint32_t device_changes) noexcept;

  private:
    bool failed_ = false;
    uint64_t failed_at_ = 0;
    uint32_t changes_at_failure_ = 0;
};

}  // namespace quilla

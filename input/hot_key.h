// Edge detection for the transparency hot key: one toggle per press, however long the
// input is held.
#pragma once

#include <cstdint>

namespace quilla {

class HotKeyPress {
  public:
    HotKeyPress() noexcept = default;
    // Starts as if the hot key had already matched on `held_passes` consecutive passes.
    explicit HotKeyPress(uint32_t held_passes) noexcept : held_passes_(held_passes) {}

    // One render pass. `polled` is the poller's result (kNoInput when the switch is off).
    // Returns true only on the pass where the hot key starts to be seen; any other result,
    // and any pass with the switch off, re-arms it. The "no input" result never counts as
    // the hot key, whatever value the hot key holds.
    bool update(bool hook_enabled, int32_t polled, int32_t hot_key) noexcept;

    // Consecutive passes on which the hot key matched, held at its maximum.
    uint32_t held_passes() const noexcept { return held_passes_; }

  private:
    uint32_t held_passes_ = 0;
};

}  // namespace quilla

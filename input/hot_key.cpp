// Counting consecutive render passes on which the polled input is the hot key.
#include "input/hot_key.h"

#include <limits>

#include "input/input_codes.h"

namespace quilla {

bool HotKeyPress::update(bool hook_enabled, int32_t polled, int32_t hot_key) noexcept {
    const bool matched = hook_enabled && polled != kNoInput && polled == hot_key;
    if (!matched) {
        held_passes_ = 0;
        return false;
    }
    if (held_passes_ < std::numeric_limits<uint32_t>::max()) {
        ++held_passes_;
    }
    return held_passes_ == 1;
}

}  // namespace quilla

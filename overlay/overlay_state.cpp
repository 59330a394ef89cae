// The two objects the worker publishes to, created on first use.
#include "overlay/overlay_state.h"

namespace quilla {

// Deliberately never destroyed: see the header.
OverlaySize& overlay_size() {
    static auto* size = new OverlaySize;
    return *size;
}

Published<std::vector<OverlayLine>>& drawn_lines() {
    static auto* lines = new Published<std::vector<OverlayLine>>;
    return *lines;
}

}  // namespace quilla

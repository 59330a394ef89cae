// What the render worker tells the primary thread.
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

// What the render worker tells the primary thread: the size of the overlay it last drew
// (the window creation keeps the saved position on the screen with it) and the lines it
// last drew with where it drew them (the slot-count commands find the item under the
// cursor in them). Created on first use and never
// destroyed, like the settings the worker reads.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "base/published.h"
#include "overlay/overlay_layout.h"
#include "overlay/shown_lines.h"

namespace quilla {

struct OverlaySize {
    std::atomic<int32_t> width{kEmptyOverlaySide};
    std::atomic<int32_t> height{kEmptyOverlaySide};
};

OverlaySize& overlay_size();
Published<std::vector<OverlayLine>>& drawn_lines();

}  // namespace quilla

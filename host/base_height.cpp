// A linear look-up in kBaseHeights.
#include "host/base_height.h"

namespace quilla {

std::optional<int32_t> base_height_for_width(int32_t outer_width) noexcept {
    for (const BaseHeight& entry : kBaseHeights) {
        if (entry.width == outer_width) {
            return entry.height;
        }
    }
    return std::nullopt;
}

}  // namespace quilla

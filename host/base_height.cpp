// The host main window's base heights: each of the host's window sizes comes in two outer
// widths that share one normal outer height.
#include "host/base_height.h"

#include <array>

namespace quilla {
namespace {

struct BaseHeight {
    int32_t width;
    int32_t height;
};

constexpr std::array<BaseHeight, 12> kBaseHeights{{
    {326, 289},
    {390, 289},
    {406, 349},
    {486, 349},
    {518, 433},
    {620, 433},
    {646, 529},
    {774, 529},
    {806, 649},
    {966, 649},
    {1030, 817},
    {1234, 817},
}};

}  // namespace

std::optional<int32_t> base_height_for_width(int32_t outer_width) noexcept {
    for (const BaseHeight& entry : kBaseHeights) {
        if (entry.width == outer_width) {
            return entry.height;
        }
    }
    return std::nullopt;
}

}  // namespace quilla

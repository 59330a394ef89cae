// Integer arithmetic of the overlay's size, bands, alpha key and host anchoring.
#include "overlay/overlay_layout.h"

#include <algorithm>

#include "base/saturating.h"
#include "host/base_height.h"

namespace quilla {
namespace {

int32_t non_negative(int32_t value) noexcept {
    return std::max(value, int32_t{0});
}

int32_t measured_height(const std::optional<Size>& extent) noexcept {
    return extent ? non_negative(extent->height) : 0;
}

}  // namespace

Size overlay_size_from_extents(const std::vector<std::optional<Size>>& extents) {
    Size size{0, 0};
    for (const auto& extent : extents) {
        if (!extent) {
            continue;
        }
        size.width = std::max(size.width, non_negative(extent->width));
        size.height = saturating_add(size.height, measured_height(extent));
    }
    if (size.width == 0) {
        size.width = kEmptyOverlaySide;
    }
    if (size.height == 0) {
        size.height = kEmptyOverlaySide;
    }
    return size;
}

std::vector<LineBand> line_bands(int32_t line_step,
                                 const std::vector<std::optional<Size>>& extents) {
    std::vector<LineBand> bands;
    bands.reserve(extents.size());
    int32_t y = 0;
    for (const auto& extent : extents) {
        const int32_t height = line_step > 0 ? line_step : measured_height(extent);
        bands.push_back({y, height});
        y = saturating_add(y, height);
    }
    return bands;
}

uint32_t alpha_key(uint32_t colorref) {
    const uint32_t red = colorref & 0xFFu;
    const uint32_t green = (colorref >> 8) & 0xFFu;
    const uint32_t blue = (colorref >> 16) & 0xFFu;
    return (red << 16) | (green << 8) | blue;
}

Size clip_to_surface(Size used, int32_t surface_width, int32_t surface_height) {
    return Size{std::clamp(used.width, int32_t{0}, non_negative(surface_width)),
                std::clamp(used.height, int32_t{0}, non_negative(surface_height))};
}

void apply_alpha(uint32_t* bits, int32_t surface_width, int32_t surface_height, Size used,
                 uint32_t back_colorref, bool transparent) {
    if (bits == nullptr) {
        return;
    }
    const Size area = clip_to_surface(used, surface_width, surface_height);
    const uint32_t key = alpha_key(back_colorref);
    const auto row_length = static_cast<std::size_t>(area.width);
    for (int32_t y = 0; y < area.height; ++y) {
        const auto row_index = static_cast<std::size_t>(surface_height - 1 - y);
        uint32_t* row = bits + row_index * static_cast<std::size_t>(surface_width);
        for (std::size_t x = 0; x < row_length; ++x) {
            if (transparent && row[x] == key) {
                row[x] = 0;
            } else {
                row[x] |= 0xFF000000u;
            }
        }
    }
}

std::optional<int32_t> extended_host_height(int32_t host_outer_width, int32_t host_outer_height,
                                            int32_t overlay_height) {
    const std::optional<int32_t> base = base_height_for_width(host_outer_width);
    if (!base) {
        return std::nullopt;
    }
    const int32_t wanted = saturating_add(*base, non_negative(overlay_height));
    if (wanted == host_outer_height) {
        return std::nullopt;
    }
    return wanted;
}

Point anchor_to_client_bottom_left(Point client_bottom_left_in_screen, int32_t overlay_height) {
    const int64_t top =
        static_cast<int64_t>(client_bottom_left_in_screen.y) - static_cast<int64_t>(overlay_height);
    return Point{client_bottom_left_in_screen.x, clamp_to_int32(top)};
}

}  // namespace quilla

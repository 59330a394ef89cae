// The host main window's normal outer height for each outer width it is known to use.
#pragma once

#include <cstdint>
#include <optional>

namespace quilla {

// The base height of a host main window whose outer width is outer_width, or nothing when
// the host never uses that width (such a host is never resized).
std::optional<int32_t> base_height_for_width(int32_t outer_width) noexcept;

}  // namespace quilla

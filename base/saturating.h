// Integer arithmetic on values that come from files, settings or other programs: the
// result stops at the int32 limits instead of overflowing.
#pragma once

#include <cstdint>
#include <limits>

namespace quilla {

constexpr int32_t clamp_to_int32(int64_t value) noexcept {
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value < kMin ? kMin : (value > kMax ? kMax : value));
}

constexpr int32_t saturating_add(int32_t a, int32_t b) noexcept {
    return clamp_to_int32(int64_t{a} + b);
}

constexpr int32_t saturating_sub(int32_t a, int32_t b) noexcept {
    return clamp_to_int32(int64_t{a} - b);
}

}  // namespace quilla

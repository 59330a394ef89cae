// Paths as the file calls take them: the extended-length form of a full path, which lets
// a path be longer than the old limit of MAX_PATH characters, and that limit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quilla {

// The most characters a path may have where the file calls still hold to the old limit
// (MAX_PATH, 260, less the terminating null).
inline constexpr std::size_t kLegacyPathLimit = 259;

// Whether a path of this many characters is longer than the old limit allows.
constexpr bool beyond_legacy_path_limit(std::size_t length) noexcept {
    return length > kLegacyPathLimit;
}

// The extended-length form of a full, normalised path: "\\?\C:\dir\file" for a drive path
// and "\\?\UNC\server\share\file" for a network one. That form takes the rest of the path
// as it is written (no "." or ".." steps resolved, no "/" turned into "\"), so any other
// path is returned as given: a relative one, one already in that form or naming a device
// ("\\?\", "\\.\"), and one holding "/" or a "." or ".." step.
std::wstring extended_length_path(std::wstring_view full);

}  // namespace quilla

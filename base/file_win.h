// Writing a file so that a crash, a full disk or a failed write never leaves it half
// written: the new contents go to a file beside it, which then replaces it in one step.
#pragma once

#include <string>
#include <string_view>

namespace quilla {

// Writes bytes to path + ".new", flushes it, and moves it over path. On any failure the
// old file at path is left as it was and false is returned; so is a read-only file.
bool replace_file_atomically(const std::string& path, std::string_view bytes) noexcept;

}  // namespace quilla

// Values fixed when the program is built: its version and the update server's host name.
#pragma once

#include <string_view>

namespace quilla {

// The program's version, "major.minor.patch", from the build's project version.
std::string_view program_version() noexcept;

// The update server's host name, from the build setting QUILLA_UPDATE_HOST.
std::string_view update_host() noexcept;

}  // namespace quilla

// The update server's host name, fixed when the program is built (the build setting
// QUILLA_UPDATE_HOST): looked up, sent as the Host header and used in the download address.
#pragma once

#include <string_view>

namespace quilla {

std::string_view update_host() noexcept;

}  // namespace quilla

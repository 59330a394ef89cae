// The update server's host name; the build passes it as a compile definition.
#include "update/update_host.h"

namespace quilla {

std::string_view update_host() noexcept {
    return QUILLA_UPDATE_HOST;
}

}  // namespace quilla

// Values fixed when the program is built. The build passes both as compile definitions.
#include "update/build_constants.h"

namespace quilla {

std::string_view program_version() noexcept {
    return QUILLA_VERSION_TEXT;
}

std::string_view update_host() noexcept {
    return QUILLA_UPDATE_HOST;
}

}  // namespace quilla

// Maps a position mode to its radio item's id and back, refusing what is out of range.
#include "app/command_ids.h"

namespace quilla {

std::optional<int> position_command_for_mode(int32_t mode) noexcept {
    // Compared before any arithmetic: a stored mode can be any int32.
    if (mode < 1 || mode > kCommandPositionExtended - kCommandPositionMenu) {
        return std::nullopt;
    }
    return kCommandPositionMenu + mode;
}

std::optional<int32_t> position_mode_for_command(int command) noexcept {
    if (command < kCommandPositionFree || command > kCommandPositionExtended) {
        return std::nullopt;
    }
    return command - kCommandPositionMenu;
}

}  // namespace quilla

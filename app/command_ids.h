// The context menu's command ids. The display options use their option ids (1000 to
// 1027); the position items are 1030 plus the position mode they choose.
#pragma once

#include <cstdint>
#include <optional>

namespace quilla {

enum CommandId : int {
    kCommandDisplayMenu = 1020,
    kCommandItemEditor = 1026,
    kCommandPositionMenu = 1030,
    kCommandPositionFree = 1031,
    kCommandPositionPinned = 1032,
    kCommandPositionExtended = 1033,
    kCommandSlotsUp = 1040,
    kCommandSlotsDown = 1050,
    kCommandSettings = 1060,
    kCommandInformation = 1070,
    kCommandExit = 1080,
};

// The position item that shows a position mode as chosen, or nothing for a mode that no
// item stands for (the setting keeps any number its file gave).
std::optional<int> position_command_for_mode(int32_t mode) noexcept;

// The position mode a position item chooses, or nothing for any other command.
std::optional<int32_t> position_mode_for_command(int command) noexcept;

}  // namespace quilla

// The context menu: its tree, captions, ids and initial marks, and the check marks that
// follow the option table.
#pragma once

#include <windows.h>

#include "base/handles_win.h"

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

// Builds the popup menu with its two submenus, marked from the live options and the
// position mode. Destroying the returned menu destroys the submenus with it.
UniqueMenu build_context_menu();

// Sets the check mark of an option's item (by command id) from the option's state.
void update_check_mark(HMENU menu, int option_id) noexcept;

// Moves the radio mark of the position submenu to the item of the current position mode.
void update_position_mark(HMENU menu) noexcept;

}  // namespace quilla

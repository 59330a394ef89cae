// The context menu: its tree, captions, ids and initial marks, and the check marks that
// follow the option table.
#pragma once

#include <windows.h>

#include "app/command_ids.h"
#include "base/handles_win.h"

namespace quilla {

// Builds the popup menu with its two submenus, marked from the live options and the
// position mode. Destroying the returned menu destroys the submenus with it.
UniqueMenu build_context_menu();

// Sets the check mark of an option's item (by command id) from the option's state.
void update_check_mark(HMENU menu, int option_id) noexcept;

// Moves the radio mark of the position submenu to the item of the current position mode
// (no item is marked for a mode no item stands for).
void update_position_mark(HMENU menu) noexcept;

}  // namespace quilla

// What the context menu's commands do.
#pragma once

#include <windows.h>

namespace quilla {

struct CommandTarget {
    HWND overlay;
    HMENU menu;
    POINT menu_point;  // cursor position at the right-button release, in screen coordinates
};

// Runs the command with the given id; ids that are no command do nothing.
void run_menu_command(const CommandTarget& target, int id);

}  // namespace quilla

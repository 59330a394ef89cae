// The item editor window ("アイテムエディタ"), where the user browses, searches, edits,
// saves and loads the item tables.
#pragma once

#include <windows.h>

namespace quilla {

// Opens the item editor, centred on the screen and owned by owner (the overlay). While an
// editor is open this does nothing (the window is not even brought to the front). Returns
// the editor's window, or null when it could not be created.
HWND open_item_editor(HWND owner);

}  // namespace quilla

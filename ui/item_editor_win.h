// The item editor window ("アイテムエディタ"), where the user browses, searches, edits,
// deletes, saves and loads the item tables.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/seam.h"
#include "items/item_db.h"

namespace quilla {

// The names the editor offers for a table (see unrecognised_names): the equipped lines of
// the host that the overlay cannot recognise with tables, cut to names. Nothing when the
// host's inventory window cannot be read.
using OfferedNames = std::optional<std::vector<std::string>> (*)(Category category,
                                                                 const ItemTables& tables);

// The Win32 calls of the editor that a test replaces.
class ItemEditorCalls {
  public:
    virtual ~ItemEditorCalls() = default;
    // Shows the list's right-click menu and returns the command chosen (TPM_RETURNCMD).
    virtual BOOL track_popup_menu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                                  const RECT* rect) {
        return TrackPopupMenu(menu, flags, x, y, reserved, owner, rect);
    }
};

// Opens the item editor, centred on the screen and owned by owner (the overlay), its file
// name box holding "items.txt". names gives the names its list's right-click menu offers
// (none offered when null); its menu is shown through calls, which must outlive the open
// editor. While an editor is open this opens no second one. Returns the editor's window,
// or null when it could not be created.
HWND open_item_editor(HWND owner, OfferedNames names = nullptr,
                      ItemEditorCalls& calls = system_calls<ItemEditorCalls>());

// The open editor, or null.
HWND item_editor_window() noexcept;

// Before the program exits on the user's word (the menu's 終了): with unsaved item changes
// (made in the editor or by the slot-count commands), asks whether to save them, to the
// file named in the open editor's file name box or else to "items.txt", in a box owned by
// the editor or else by overlay. True when the program may exit: nothing was unsaved, the
// user said no (and the changes are let go), or said yes and the save succeeded.
bool item_editor_allows_exit(HWND overlay);

}  // namespace quilla

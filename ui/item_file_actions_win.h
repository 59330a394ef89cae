// The item tables and their files on the player's word: a save (never over an item file
// that was never read, unasked), a load by name or by a drop, the reset from "items.txt",
// the question about unsaved changes when the item editor or the program closes, and at
// start the offer of the changes kept over an end the player did not choose. Each tells
// what went wrong in a box owned by the window given.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>

#include "items/item_editor_model.h"

namespace quilla {

// A box of the item editor's with one OK button.
void tell(HWND owner, const std::wstring& text);

// Writes the live item tables to path (保存, or yes to the question about unsaved
// changes). Over "items.txt" that could not be read at start, it first asks whether to
// write over it all the same; a failed save is told. Boxes are owned by owner. True when
// the file was written: the live tables are then the saved ones.
bool save_items(HWND owner, const std::wstring& path);

// Loads the item file at path into the live tables and model's shown table (see
// ItemEditorModel::load). No name, or a file that cannot be read, is told. True when
// the file was loaded.
bool load_items(HWND owner, const std::wstring& path, ItemEditorModel& model);

// Reads "items.txt" again into the four tables the editor shows (see
// ItemEditorModel::reset); when it could not be read at start, what it holds becomes the
// saved tables first. One that cannot be read is told. True when it was read.
bool reset_items(HWND owner, ItemEditorModel& model);

// The whole path of the one file dropped, in wide characters (a folder named in letters
// outside code page 932 works too; a path is never cut to fit a buffer, since a cut path
// can name another file). Nothing when several were dropped.
std::optional<std::wstring> dropped_file(HDROP drop);

// With unsaved item changes, asks (in a box owned by owner) whether to save them to path:
// yes saves, no lets them be, cancel keeps the window. exiting: the program ends on the
// player's word, so no lets go of them for good (they are not kept for the next start).
// True when the window may close.
bool unsaved_items_allow_close(HWND owner, const std::wstring& path, bool exiting);

// At start, before the overlay opens: when the recovery file kept unsaved changes,
// offers them back; yes makes them the live tables (unsaved changes still, so the next
// exit asks), no removes the file. False when the file is there but could not be read:
// the program then leaves it alone.
bool offer_kept_items();

}  // namespace quilla

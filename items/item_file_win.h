// Opening and saving item files on disk for the start-up load, loads by
// name and the item editor's save.
#pragma once

#include "base/file_win.h"
#include "items/item_db.h"

#include <string>

namespace quilla {

// Reads "items.txt" from the working directory into db (a file saved as UTF-8 as the same
// text in Shift-JIS). False when it is not there or cannot be read whole (the tables are
// then left as they were).
bool load_startup_items(ItemDatabase& db);

// Formats tables and writes them to path in one replacing step: a failed save leaves the
// previous file whole. False when the file could not be written; *why (when given) says
// why not.
bool write_item_file(const std::string& path, const ItemTables& tables, SaveFailure* why = nullptr);
bool write_item_file(const std::wstring& path, const ItemTables& tables,
                     SaveFailure* why = nullptr);

// Loads the item file at path into target (see load_item_file); a file that is not there
// or cannot be read whole changes nothing. A file saved as UTF-8 is read as the same text
// in Shift-JIS.
void load_item_file_into(const std::wstring& path, ItemTables& target);

}  // namespace quilla

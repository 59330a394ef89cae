// Reading and writing the item file: one category-prefixed entry per line ("武器,name,5",
// the value's digits half-width or full-width), Shift-JIS bytes, read in pieces of at
// most kLineBytes (the rest of a longer line is a piece of its own). These functions work on the
// file's bytes; opening and saving files is done by item_file_win.h.
#pragma once

#include "items/item_db.h"

#include <optional>
#include <string>
#include <string_view>

namespace quilla {

// The item file read at start-up and by the item editor's reset, in the working directory.
inline constexpr char kItemFileName[] = "items.txt";

// Beside it, the unsaved changes kept over an end the player did not choose (a Windows
// session end, another program's close): the whole live tables, in the item file's own
// format, under an ASCII name so that any editor opens it.
inline constexpr char kItemRecoveryFileName[] = "items-unsaved.txt";

// Whether the item file can hold name so that it reads back as the same entry: a name
// ends at the first comma after its prefix, so a name with a comma cannot.
bool fits_item_file(std::string_view name) noexcept;

// Start-up read of "items.txt" into the (empty) live tables. Prefixes are tried in the
// order 武器, 盾, お守り, 武器印, 盾印.
void read_startup_item_file(std::string_view bytes, ItemTables& live);

// The item editor's load: the file replaces each category it holds at least one entry
// for; a category the file lacks keeps its contents. nullopt (the file could not be
// opened) leaves target unchanged.
void load_item_file(const std::optional<std::string>& bytes, ItemTables& target);

// The item editor's reset: the weapon, shield and both seal tables are cleared and read
// again from bytes (left empty when bytes is nullopt); the amulet table is untouched.
void reset_item_file(const std::optional<std::string>& bytes, ItemTables& live);

// The file contents for tables: weapons, shields, weapon seals, shield seals, amulets, each
// in ascending name order, one LF-terminated line per entry.
std::string format_item_file(const ItemTables& tables);

}  // namespace quilla

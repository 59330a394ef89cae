// The item editor's tables and rules, apart from its window: the shown table with its
// rows, the search position, and what Apply, Add, Delete, Load and Reset do to them and to
// the live item database.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "items/item_db.h"

namespace quilla {

// The editor's tabs in tab order; the amulet table has none.
inline constexpr std::array<Category, 4> kEditorTabs = {
    Category::kWeapon, Category::kShield, Category::kWeaponSeal, Category::kShieldSeal};

// The number in the value box: optional blanks, an optional sign, at least one digit
// (half-width or full-width), optional blanks. Nothing when the text is empty, holds
// anything else or leaves int32.
std::optional<int32_t> parse_item_value(std::string_view text);

// The editor shows the live tables (the item database, changed only through its modify,
// replace and load) one tab at a time: the shown table is a copy of the live table of the
// tab, whose entries are the list's rows. Whether there are unsaved changes is the
// database's to tell (ItemDatabase::unsaved).
class ItemEditorModel {
  public:
    ItemEditorModel() = default;
    ItemEditorModel(const ItemEditorModel&) = delete;  // rows_ points into shown_
    ItemEditorModel& operator=(const ItemEditorModel&) = delete;

    // A new editor window: the first tab of live shown. The search position stays where
    // the last window left it.
    void open(const ItemTables& live);

    // Shows live's table of tab (0 to 3; others are ignored) and starts searching from the
    // top again.
    void select_tab(std::size_t tab, const ItemTables& live);
    std::size_t tab() const noexcept { return tab_; }

    std::size_t row_count() const noexcept { return rows_.size(); }
    // Column 0 is the row's name, column 1 its value in decimal; empty for anything else.
    std::string cell_text(std::size_t row, int column) const;

    // The first row whose name holds text as a byte substring, or nothing. An empty text
    // or an empty table does nothing (and keeps the search position).
    std::optional<std::size_t> search(std::string_view text);
    // As search, testing only the rows after the search position. Without a hit the
    // position moves past the last row, so later calls find nothing: no wrap-around.
    std::optional<std::size_t> next(std::string_view text);

    // Renames row to name and gives it value_text's number, in the shown table and in the
    // live table of the tab: the old name is erased, then the new one set, so a name that
    // is already there takes the value and the table shrinks by one. Returns the entry's
    // row after the change (the rows stay in name order, so it may have moved). Nothing,
    // with nothing changed, for a row outside the table, a name the item file cannot hold
    // (fits_item_file) or a value text that is no number.
    std::optional<std::size_t> apply(std::size_t row, const std::string& name,
                                     std::string_view value_text, ItemDatabase& db);

    // Apply with no row selected: adds name with value_text's number to the shown table
    // and to the live table of the tab (a name that is already there takes the value),
    // and returns the entry's row. Nothing, with nothing changed, for an empty name, one
    // the item file cannot hold or a value text that is no number.
    std::optional<std::size_t> add(const std::string& name, std::string_view value_text,
                                   ItemDatabase& db);

    // Removes row's entry from the shown table and from the live table of the tab. False,
    // with nothing changed, for a row outside the table.
    bool remove(std::size_t row, ItemDatabase& db);

    // Loads an item file's bytes into the live tables and the saved ones (each category
    // the file has a line for is replaced; the others keep their contents) and shows the
    // tab's live table. A file that could not be opened (nothing) changes nothing: false.
    bool load(const std::optional<std::string>& bytes, ItemDatabase& db);

    // Reads the start-up item file's bytes again into the live weapon, shield and seal
    // tables (the amulets and the saved tables stay) and shows the tab's live table. A
    // file that could not be opened changes nothing at all: false.
    bool reset(const std::optional<std::string>& bytes, ItemDatabase& db);

  private:
    void show(ItemTable table);
    std::optional<std::size_t> find_from(std::size_t first, std::string_view text);
    // The row of a name in the shown table.
    std::size_t row_of(const std::string& name) const;

    ItemTable shown_;
    // shown_'s entries by row, so a row's text never needs a walk from the first entry.
    std::vector<ItemTable::const_iterator> rows_;
    std::size_t tab_ = 0;
    std::size_t search_position_ = 0;
};

}  // namespace quilla

// The item editor's tables and rules, apart from its window: the saved copy of all five
// tables, the shown table with its rows, the search position, and what Apply, Save, Load
// and Reset do to them and to the live item database.
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
inline constexpr std::array<Category, 4> kEditorTabs = {Category::Weapon, Category::Shield,
                                                        Category::WeaponSeal, Category::ShieldSeal};

// The number in the value box: optional blanks, an optional sign, at least one digit,
// optional blanks. Nothing when the text is empty, holds anything else or leaves int32.
std::optional<int32_t> parse_item_value(std::string_view text) noexcept;

// The editor keeps three kinds of tables: the live tables (the item database, changed
// only through its publish), the saved copy of all five (taken when the window opens and
// before every save, filled by a load; it may lag behind the live tables) and the shown
// table, a copy whose entries are the list's rows.
class ItemEditorModel {
  public:
    ItemEditorModel() = default;
    ItemEditorModel(const ItemEditorModel&) = delete;  // rows_ points into shown_
    ItemEditorModel& operator=(const ItemEditorModel&) = delete;

    // A new editor window: saved copy := live, the first tab shown. The search position
    // stays where the last window left it.
    void open(const ItemTables& live);

    // Shows the saved copy's table of tab (0 to 3; others are ignored) and starts
    // searching from the top again.
    void select_tab(std::size_t tab);
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
    // is already there takes the value and the table shrinks by one. The saved copy is
    // left alone. False, with nothing changed, for a row outside the table or a value
    // text that is no number.
    bool apply(std::size_t row, const std::string& name, std::string_view value_text,
               ItemDatabase& db);

    // Apply with no row selected: adds name with value_text's number to the shown table
    // and to the live table of the tab (a name that is already there takes the value),
    // and returns the entry's row. Nothing, with nothing changed, for an empty name or a
    // value text that is no number.
    std::optional<std::size_t> add(const std::string& name, std::string_view value_text,
                                   ItemDatabase& db);

    // Before a save: saved copy := live. Returns the tables to write.
    const ItemTables& refresh_saved(const ItemTables& live);
    const ItemTables& saved() const noexcept { return saved_; }

    // Loads an item file's bytes into the saved copy (a category the file has no line for
    // keeps its contents), publishes the saved copy as the live tables and shows the
    // tab's table. A file that could not be opened (nothing) changes nothing: false.
    bool load(const std::optional<std::string>& bytes, ItemDatabase& db);

    // Reads the start-up item file's bytes again into the live weapon, shield and seal
    // tables (the amulets and the saved copy stay) and shows the tab's live table. A
    // file that could not be opened changes nothing at all: false.
    bool reset(const std::optional<std::string>& bytes, ItemDatabase& db);

  private:
    void show(ItemTable table);
    std::optional<std::size_t> find_from(std::size_t first, std::string_view text);

    ItemTables saved_;
    ItemTable shown_;
    // shown_'s entries by row, so a row's text never needs a walk from the first entry.
    std::vector<ItemTable::const_iterator> rows_;
    std::size_t tab_ = 0;
    std::size_t search_position_ = 0;
};

}  // namespace quilla

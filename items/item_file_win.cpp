// Reads and writes item files through base/file_win.h.
#include "items/item_file_win.h"

#include "base/code_page_win.h"
#include "base/file_win.h"
#include "items/item_file.h"

namespace quilla {

bool load_startup_items(ItemDatabase& db) {
    const std::optional<std::string> bytes = read_text_file(widen(kItemFileName));
    if (!bytes) {
        return false;
    }
    db.modify([&](ItemTables& tables) { read_startup_item_file(*bytes, tables); });
    return true;
}

bool write_item_file(const std::string& path, const ItemTables& tables, SaveFailure* why) {
    return replace_file_atomically(path, format_item_file(tables), why);
}

bool write_item_file(const std::wstring& path, const ItemTables& tables, SaveFailure* why) {
    return replace_file_atomically(path, format_item_file(tables), why);
}

void load_item_file_into(const std::wstring& path, ItemTables& target) {
    load_item_file(read_text_file(path), target);
}

}  // namespace quilla

// Reads and writes item files through base/file_win.h.
#include "items/item_file_win.h"

#include "base/code_page_win.h"
#include "base/file_win.h"
#include "base/trace_win.h"
#include "items/item_file.h"

namespace quilla {

ReadOutcome load_startup_items(ItemDatabase& db, const std::wstring& path, DWORD retry_ms,
                               FileCalls& calls, Clock& clock) {
    const FileRead read = read_whole_text_file(path, retry_ms, calls, clock);
    db.set_item_file_unread(read.outcome == ReadOutcome::kUnreadable);
    if (read.outcome == ReadOutcome::kWhole) {
        db.load([&](ItemTables& tables) { read_startup_item_file(read.bytes, tables); });
    }
    return read.outcome;
}

bool read_unread_item_file(ItemDatabase& db) {
    return !db.item_file_unread() ||
           take_unread_item_file(db, read_whole_text_file(widen(kItemFileName)));
}

bool take_unread_item_file(ItemDatabase& db, const FileRead& read) {
    if (!db.item_file_unread()) {
        return true;
    }
    if (read.outcome == ReadOutcome::kUnreadable) {
        return false;
    }
    ItemTables file;
    read_startup_item_file(read.bytes, file);
    const std::shared_ptr<const ItemTables> saved = db.saved();
    db.modify([&](ItemTables& live) { live = rebase(file, *saved, live); });
    db.mark_saved(std::move(file));
    db.set_item_file_unread(false);
    return true;
}

bool write_item_file(const std::string& path, const ItemTables& tables, SaveFailure* why,
                     DWORD retry_ms, Clock& clock) {
    return replace_file_atomically(path, format_item_file(tables), why, retry_ms,
                                   system_calls<FileCalls>(), clock);
}

bool write_item_file(const std::wstring& path, const ItemTables& tables, SaveFailure* why,
                     DWORD retry_ms, Clock& clock) {
    return replace_file_atomically(path, format_item_file(tables), why, retry_ms,
                                   system_calls<FileCalls>(), clock);
}

void load_item_file_into(const std::wstring& path, ItemTables& target) {
    load_item_file(read_text_file(path), target);
}

bool keep_unsaved_items(const ItemDatabase& db, DWORD retry_ms, Clock& clock) {
    if (db.unsaved()) {
        return write_item_file(kItemRecoveryFileName, *db.snapshot(), nullptr, retry_ms, clock);
    }
    remove_kept_items();
    return true;
}

void remove_kept_items() {
    const std::wstring path = file_system_path(widen(kItemRecoveryFileName));
    check(system_calls<FileCalls>().delete_file(path.c_str()) ||
              GetLastError() == ERROR_FILE_NOT_FOUND,
          "DeleteFileW");
}

}  // namespace quilla

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
    if (!db.item_file_unread()) {
        return true;
    }
    const FileRead read = read_whole_text_file(widen(kItemFileName));
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
                     DWORD retry_ms) {
    return replace_file_atomically(path, format_item_file(tables), why, retry_ms);
}

bool write_item_file(const std::wstring& path, const ItemTables& tables, SaveFailure* why,
                     DWORD retry_ms) {
    return replace_file_atomically(path, format_item_file(tables), why, retry_ms);
}

void load_item_file_into(const std::wstring& path, ItemTables& target) {
    load_item_file(read_text_file(path), target);
}

bool keep_unsaved_items(const ItemDatabase& db, DWORD retry_ms, Clock& clock) {
    if (db.unsaved()) {
        return replace_file_atomically(kItemRecoveryFileName, format_item_file(*db.snapshot()),
                                       nullptr, retry_ms, system_calls<FileCalls>(), clock);
    }
    remove_kept_items();
    return true;
}

void remove_kept_items() {
    const std::wstring path = file_system_path(widen(kItemRecoveryFileName));
    check(DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND, "DeleteFileW");
}

}  // namespace quilla

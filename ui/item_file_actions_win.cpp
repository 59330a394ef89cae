// Saving the item tables, the question about unsaved changes, and the offer of the kept
// ones, in message boxes.
#include "ui/item_file_actions_win.h"

#include <memory>
#include <optional>

#include "base/code_page_win.h"
#include "base/file_win.h"
#include "base/program_texts.h"
#include "base/trace_win.h"
#include "items/item_db.h"
#include "items/item_file.h"
#include "items/item_file_win.h"

namespace quilla {
namespace {

int ask(HWND owner, const std::wstring& text, UINT buttons) {
    const int answer =
        MessageBoxW(owner, text.c_str(), widen(texts::kItemEditorTitle).c_str(), buttons);
    check(answer != 0, "MessageBoxW");
    return answer;
}

}  // namespace

void tell(HWND owner, const std::wstring& text) {
    ask(owner, text, MB_OK | MB_ICONWARNING);
}

bool load_items(HWND owner, const std::wstring& path, ItemEditorModel& model) {
    if (path.empty()) {
        tell(owner, widen(texts::kNoFileName));
        return false;
    }
    if (!model.load(read_text_file(path), item_database())) {
        tell(owner, path + L" " + widen(texts::kFileNotRead));
        return false;
    }
    return true;
}

bool reset_items(HWND owner, ItemEditorModel& model) {
    ItemDatabase& db = item_database();
    // One read serves both: the file's own entries, when it was never read, and the reset.
    const FileRead read = read_whole_text_file(widen(kItemFileName));
    take_unread_item_file(db, read);
    if (!model.reset(read.outcome == ReadOutcome::kWhole ? std::optional(read.bytes) : std::nullopt,
                     db)) {
        tell(owner, widen(kItemFileName) + L" " + widen(texts::kFileNotRead));
        return false;
    }
    return true;
}

std::optional<std::wstring> dropped_file(HDROP drop) {
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) != 1) {
        return std::nullopt;
    }
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring path(std::size_t{length} + 1, L'\0');
    if (!check(DragQueryFileW(drop, 0, path.data(), length + 1) == length, "DragQueryFileW")) {
        return std::nullopt;
    }
    path.resize(length);
    return path;
}

bool save_items(HWND owner, const std::wstring& path) {
    ItemDatabase& db = item_database();
    const bool over_unread_file = db.item_file_unread() && same_file(path, widen(kItemFileName));
    if (over_unread_file && ask(owner, path + L" " + widen(texts::kOverwriteUnreadFile),
                                MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) {
        return false;
    }
    const std::shared_ptr<const ItemTables> live = db.snapshot();
    SaveFailure why = SaveFailure::kNone;
    if (!write_item_file(path, *live, &why)) {
        tell(owner,
             path + L" " + widen(texts::kFileNotSaved) + L"\r\n" + widen(save_failure_phrase(why)));
        return false;
    }
    db.mark_saved(*live);
    if (over_unread_file) {
        db.set_item_file_unread(false);  // what it holds now is known
    }
    return true;
}

bool unsaved_items_allow_close(HWND owner, const std::wstring& path, bool exiting) {
    ItemDatabase& db = item_database();
    if (!db.unsaved()) {
        return true;
    }
    const std::wstring question =
        widen(texts::kUnsavedChanges) + path + L" " + widen(texts::kSaveChangesTo);
    switch (ask(owner, question, MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES:
            return save_items(owner, path);
        case IDNO:
            if (exiting) {
                db.mark_saved(*db.snapshot());  // the player let them go
            }
            return true;
        default:
            return false;
    }
}

bool offer_kept_items() {
    const FileRead read = read_whole_text_file(widen(kItemRecoveryFileName));
    if (read.outcome != ReadOutcome::kWhole) {
        return read.outcome == ReadOutcome::kNotFound;
    }
    const std::wstring offer =
        widen(texts::kKeptItemsLead) + widen(kItemRecoveryFileName) + widen(texts::kKeptItemsTail);
    if (ask(nullptr, offer, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) == IDYES) {
        ItemTables kept;
        read_startup_item_file(read.bytes, kept);
        item_database().replace(std::move(kept));
    } else {
        remove_kept_items();
    }
    return true;
}

}  // namespace quilla

// The item editor's window: its messages, and the actions its buttons, its list's
// notifications and its list's menu start. The controls' layout is in
// item_editor_layout_win, the list's rows in item_editor_rows_win, and what touches files
// in item_file_actions_win.
#include "ui/item_editor_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/code_page_win.h"
#include "base/handles_win.h"
#include "base/program_texts.h"
#include "base/text.h"
#include "base/trace_win.h"
#include "base/window_class_win.h"
#include "items/item_db.h"
#include "items/item_editor_model.h"
#include "items/item_file.h"
#include "items/item_file_win.h"
#include "ui/item_editor_ids.h"
#include "ui/item_editor_layout_win.h"
#include "ui/item_editor_rows_win.h"
#include "ui/item_file_actions_win.h"

namespace quilla {
namespace {

// How long the caption tells of a save before it is the title again.
constexpr UINT kNoticeTimerId = 1;
constexpr UINT kNoticeMs = 4000;

// The right-click menu's commands: delete, and the offered names from kFirstNameCommand on.
constexpr UINT kDeleteCommand = 1;
constexpr UINT kFirstNameCommand = 100;
constexpr std::size_t kMostOfferedNames = 40;

struct DropTraits {
    using type = HDROP;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { DragFinish(h); }
};
using UniqueDrop = UniqueHandle<DropTraits>;  // a WM_DROPFILES drop, finished when done

// A box's text in Shift-JIS, cut (at a character boundary) to max_bytes.
std::string sjis_text(HWND window, std::size_t max_bytes) {
    return std::string(sjis_prefix(window_text(window), max_bytes));
}

void set_text(HWND window, std::string_view sjis) {
    check(set_window_text(window, sjis), "SetWindowTextW");
}

// The title, with a note while "items.txt" could not be read.
std::wstring editor_title() {
    std::string text = texts::kItemEditorTitle;
    if (item_database().item_file_unread()) {
        text += texts::kItemFileUnreadNote;
    }
    return widen(text);
}

class ItemEditor {
  public:
    HWND window() const noexcept { return hwnd_; }

    void attach(HWND hwnd) noexcept { hwnd_ = hwnd; }

    void prepare(OfferedNames names, ItemEditorCalls& calls) noexcept {
        names_ = names;
        calls_ = &calls;
    }

    // A throw ends at the window procedure, which traces it and gives the message its
    // default processing (a failed creation for WM_CREATE).
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) {
        switch (message) {
            case WM_CREATE:
                return on_create() ? 0 : -1;
            case WM_DESTROY:
                hwnd_ = nullptr;
                return 0;
            case WM_NOTIFYFORMAT:
                // The controls are wide: their notifications come in the wide forms.
                return NFR_UNICODE;
            case WM_CLOSE:
                if (may_close(false)) {
                    check(DestroyWindow(hwnd_), "DestroyWindow");
                }
                return 0;
            case WM_TIMER:
                if (wparam != kNoticeTimerId) {
                    break;
                }
                check(KillTimer(hwnd_, kNoticeTimerId), "KillTimer");
                set_caption(editor_title());
                return 0;
            case WM_DRAWITEM:
                if (wparam != kItemEditorListId || !rows_) {
                    break;
                }
                rows_->paint(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
                return TRUE;
            case WM_NOTIFY:
                if (on_notify(lparam)) {
                    return 0;
                }
                break;
            case WM_CONTEXTMENU:
                if (reinterpret_cast<HWND>(wparam) != controls_.list) {
                    break;
                }
                on_list_menu(lparam);
                return 0;
            case WM_COMMAND:
                on_command(LOWORD(wparam));
                return 0;
            case WM_LBUTTONDOWN:
                // A press on a free spot moves the window like its title bar.
                drag_by_free_spot(hwnd_, mouse_point(lparam));
                return 0;
            case WM_DROPFILES:
                on_drop(UniqueDrop(reinterpret_cast<HDROP>(wparam)));
                return 0;
            default:
                break;
        }
        return DefWindowProcW(hwnd_, message, wparam, lparam);
    }

    // With unsaved changes, asks whether to save them to the file in the file name box
    // (see unsaved_items_allow_close); exiting: the program ends with the window.
    bool may_close(bool exiting) {
        return unsaved_items_allow_close(hwnd_, window_wide_text(controls_.file_name), exiting);
    }

  private:
    bool on_create() {
        const std::optional<ItemEditorControls> controls = create_item_editor_controls(hwnd_);
        if (!controls) {
            return false;
        }
        controls_ = *controls;
        read_unread_item_file(item_database());
        model_.open(*item_database().snapshot());
        rows_.emplace(controls_.list, model_);
        rows_->recount(true);
        return true;
    }

    bool on_notify(LPARAM lparam) {
        const auto& header = *reinterpret_cast<const NMHDR*>(lparam);
        if (header.idFrom == kItemEditorTabsId && header.code == TCN_SELCHANGE) {
            change_tab();
            return true;
        }
        if (header.idFrom != kItemEditorListId || !rows_) {
            return false;
        }
        switch (header.code) {
            case LVN_GETDISPINFOW:
                rows_->supply_text(reinterpret_cast<NMLVDISPINFOW*>(lparam)->item);
                return true;
            case LVN_ITEMCHANGED: {
                const auto& change = *reinterpret_cast<const NMLISTVIEW*>(lparam);
                // Only a row that becomes selected fills the edits; one that loses the
                // selection leaves them alone. The focus stays where it is, so that the
                // arrow keys and Delete go on working the list.
                if ((change.uChanged & LVIF_STATE) != 0 &&
                    (change.uNewState & LVIS_SELECTED) != 0 &&
                    (change.uOldState & LVIS_SELECTED) == 0) {
                    fill_edits(change.iItem);
                }
                return true;
            }
            case NM_RETURN:
            case NM_DBLCLK:
                // Enter or a double-click on a row: on to its value.
                if (rows_->selected() >= 0) {
                    SetFocus(controls_.value);
                }
                return true;
            case LVN_KEYDOWN:
                if (reinterpret_cast<const NMLVKEYDOWN*>(lparam)->wVKey == VK_DELETE) {
                    delete_selected();
                }
                return true;
            default:
                return false;
        }
    }

    void on_command(int id) {
        switch (id) {
            case kItemEditorSearchId:
                search(model_.search(sjis_text(controls_.search_text, kLineBytes)));
                break;
            case kItemEditorNextId:
                search(model_.next(sjis_text(controls_.search_text, kLineBytes)));
                break;
            case kItemEditorApplyId:
                apply();
                break;
            case kItemEditorResetId:
                if (reset_items(hwnd_, model_)) {
                    rows_replaced();
                }
                set_caption(editor_title());
                break;
            case kItemEditorSaveId:
                save();
                break;
            case kItemEditorLoadId:
                if (load_items(hwnd_, window_wide_text(controls_.file_name), model_)) {
                    rows_replaced();
                }
                break;
            default:
                break;
        }
    }

    void fill_edits(int row) {
        if (row < 0 || static_cast<std::size_t>(row) >= model_.row_count()) {
            return;
        }
        set_text(controls_.name, model_.cell_text(static_cast<std::size_t>(row), 0));
        set_text(controls_.value, model_.cell_text(static_cast<std::size_t>(row), 1));
    }

    // Nothing selected and both edits empty: the next Apply adds.
    void select_nothing() {
        rows_->select_none();
        set_text(controls_.name, "");
        set_text(controls_.value, "");
    }

    void change_tab() {
        const LRESULT tab = SendMessageW(controls_.tabs, TCM_GETCURSEL, 0, 0);
        if (tab < 0) {
            return;
        }
        model_.select_tab(static_cast<std::size_t>(tab), *item_database().snapshot());
        SendMessageW(controls_.list, LVM_SETITEMCOUNT, 0, 0);
        select_nothing();
        rows_->recount(true);
        repaint();
    }

    // Selects a search hit, which fills the edits as a click on the row would, and moves
    // the focus to its value.
    void search(std::optional<std::size_t> hit) {
        if (hit) {
            rows_->select(*hit);
            SetFocus(controls_.value);
        }
        repaint();
    }

    // The name box's text as the item file can hold it (in Shift-JIS, cut to kLineBytes),
    // or nothing, said in a box, when it holds a letter Shift-JIS has no form for (which
    // would be stored as a look-alike or "?", matching another name) or a comma.
    std::optional<std::string> name_to_store() {
        std::wstring unheld;
        const std::optional<std::string> name =
            narrow_exactly(window_wide_text(controls_.name), &unheld);
        if (!name) {
            tell(hwnd_, widen(texts::kNameOutsideShiftJisLead) + unheld +
                            widen(texts::kNameOutsideShiftJisTail));
            return std::nullopt;
        }
        if (!fits_item_file(*name)) {
            tell(hwnd_, widen(texts::kNameHasComma));
            return std::nullopt;
        }
        return std::string(sjis_prefix(*name, kLineBytes));
    }

    // With a row selected, renames and revalues its entry and follows it to its row; with
    // none, adds the entry, shows its row and empties the edits for the next one.
    void apply() {
        const std::optional<std::string> name = name_to_store();
        if (!name) {
            return;
        }
        const std::string value = window_text(controls_.value);
        if (const int row = rows_->selected(); row >= 0) {
            if (const std::optional<std::size_t> moved =
                    model_.apply(static_cast<std::size_t>(row), *name, value, item_database())) {
                rows_->recount();
                rows_->select(*moved);
                fill_edits(static_cast<int>(*moved));
            }
        } else if (const std::optional<std::size_t> added =
                       model_.add(*name, value, item_database())) {
            rows_->recount();
            select_nothing();
            rows_->ensure_visible(*added);
            SetFocus(controls_.name);
        }
        repaint();
    }

    void delete_selected() {
        const int row = rows_->selected();
        if (row >= 0 && model_.remove(static_cast<std::size_t>(row), item_database())) {
            rows_replaced();
        }
    }

    // The list's right-click menu: 削除 for the row under the cursor (which it selects),
    // then the names offered for the tab. From the keyboard (no point), the menu opens at
    // the selected row, or at the list's corner.
    void on_list_menu(LPARAM at) {
        POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
        int row = -1;
        if (point.x == -1 && point.y == -1) {
            row = rows_->selected();
            point = rows_->below(row);
        } else {
            row = rows_->row_at(point);
            if (row >= 0 && row != rows_->selected()) {
                rows_->select(static_cast<std::size_t>(row));
            }
        }
        const UniqueMenu menu(CreatePopupMenu());
        if (!check(static_cast<bool>(menu), "CreatePopupMenu")) {
            return;
        }
        const auto add = [&](UINT flags, UINT_PTR id, const std::string& caption) {
            check(AppendMenuW(menu.get(), flags, id, widen(caption).c_str()), "AppendMenuW");
        };
        add(MF_STRING | (row >= 0 ? 0 : MF_GRAYED), kDeleteCommand, texts::kDeleteEntry);
        const Offer offer = offer_names();
        if (names_) {
            check(AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr), "AppendMenuW");
        }
        if (offer.note) {
            add(MF_STRING | MF_GRAYED, 0, offer.note);
        }
        for (std::size_t i = 0; i < offer.names.size(); ++i) {
            add(MF_STRING, kFirstNameCommand + i, offer.names[i]);
        }
        const UINT chosen = static_cast<UINT>(
            calls_->track_popup_menu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                     point.x, point.y, 0, hwnd_, nullptr));
        if (chosen == kDeleteCommand) {
            delete_selected();
        } else if (chosen >= kFirstNameCommand && chosen - kFirstNameCommand < offer.names.size()) {
            take_name(offer.names[chosen - kFirstNameCommand]);
        }
    }

    // The names the menu offers for the tab, or the line saying why there are none.
    struct Offer {
        std::vector<std::string> names;
        const char* note = nullptr;
    };
    Offer offer_names() {
        if (!names_) {
            return {};
        }
        std::optional<std::vector<std::string>> names =
            names_(kEditorTabs[model_.tab()], *item_database().snapshot());
        if (!names) {
            return {{}, texts::kNoHostWindow};
        }
        if (names->empty()) {
            return {{}, texts::kNothingUnrecognised};
        }
        if (names->size() > kMostOfferedNames) {
            names->resize(kMostOfferedNames);
        }
        return {std::move(*names), nullptr};
    }

    // A chosen name goes into the name box for a new entry: nothing selected, the value
    // box emptied and focused.
    void take_name(const std::string& name) {
        select_nothing();
        set_text(controls_.name, sjis_prefix(name, kLineBytes));
        SetFocus(controls_.value);
    }

    void set_caption(const std::wstring& text) {
        check(SetWindowTextW(hwnd_, text.c_str()), "SetWindowTextW");
    }

    // A save that succeeds says so in the caption for a while, with no button to press;
    // one that fails, or has no file name, is told in a box (see save_items), and the
    // tables stay as they are, so the user can save again.
    void save() {
        const std::wstring path = window_wide_text(controls_.file_name);
        if (path.empty()) {
            tell(hwnd_, widen(texts::kNoFileName));
            return;
        }
        if (save_items(hwnd_, path)) {
            set_caption(path + L" " + widen(texts::kSavedTo));
            check(SetTimer(hwnd_, kNoticeTimerId, kNoticeMs, nullptr) != 0, "SetTimer");
        }
    }

    void on_drop(UniqueDrop drop) {
        if (const std::optional<std::wstring> path = dropped_file(drop.get());
            path && load_items(hwnd_, *path, model_)) {
            rows_replaced();
        }
    }

    // After the shown table was replaced or lost a row: its rows, nothing selected.
    void rows_replaced() {
        rows_->recount();
        select_nothing();
        repaint();
    }

    void repaint() {
        check(RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN),
              "RedrawWindow");
    }

    HWND hwnd_ = nullptr;
    ItemEditorControls controls_{};
    std::optional<ItemEditorRows> rows_;  // from the first window's creation on
    OfferedNames names_ = nullptr;
    ItemEditorCalls* calls_ = &system_calls<ItemEditorCalls>();  // the open editor's
    ItemEditorModel model_;  // outlives the window: a new window keeps the search position
};

// The one editor; never destroyed, like the item database it edits.
ItemEditor& item_editor() {
    static ItemEditor* const instance = new ItemEditor;
    return *instance;
}

}  // namespace

HWND open_item_editor(HWND owner, OfferedNames names, ItemEditorCalls& calls) {
    ItemEditor& editor = item_editor();
    if (editor.window()) {
        return editor.window();
    }
    editor.prepare(names, calls);
    const HINSTANCE instance = window_instance(owner);
    if (!register_window_class(instance, kItemEditorClass, &window_procedure<ItemEditor>,
                               static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)))) {
        return nullptr;
    }
    RECT frame{0, 0, kItemEditorClientWidth, kItemEditorClientHeight};
    check(AdjustWindowRectEx(&frame, kItemEditorStyle, FALSE, 0), "AdjustWindowRectEx");
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const POINT origin = centred_on_screen(width, height);
    HWND hwnd = CreateWindowExW(0, widen(kItemEditorClass).c_str(), L"", kItemEditorStyle, origin.x,
                                origin.y, width, height, owner, nullptr, instance, &editor);
    if (!check(hwnd != nullptr, "CreateWindowExW")) {
        return nullptr;
    }
    check(SetWindowTextW(hwnd, editor_title().c_str()), "SetWindowTextW");
    ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

HWND item_editor_window() noexcept {
    return item_editor().window();
}

bool item_editor_allows_exit(HWND overlay) {
    ItemEditor& editor = item_editor();
    if (editor.window()) {
        return editor.may_close(true);
    }
    return unsaved_items_allow_close(overlay, widen(kItemFileName), true);
}

}  // namespace quilla

// The item editor's window, controls and messages around ItemEditorModel.
#include "ui/item_editor_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/code_page_win.h"
#include "base/file_win.h"
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
#include "ui/item_file_actions_win.h"

namespace quilla {
namespace {

constexpr char kClassName[] = "ItemEditorDialog";
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU;  // fixed size, close box only
constexpr int kClientWidth = 300;
constexpr int kClientHeight = 400;
constexpr int kLine = 22;  // height of an edit or button row
// The name and search boxes are read as the 255 bytes a 256-byte buffer holds.
constexpr std::size_t kTextBytes = 255;

// How long the caption tells of a save before it is the title again.
constexpr UINT kNoticeTimerId = 1;
constexpr UINT kNoticeMs = 4000;

// The right-click menu's commands: delete, and the offered names from kFirstNameCommand on.
constexpr UINT kDeleteCommand = 1;
constexpr UINT kFirstNameCommand = 100;
constexpr std::size_t kMostOfferedNames = 40;

constexpr const char* kTabTexts[] = {texts::kWeapon, texts::kShield, texts::kWeaponSeal,
                                     texts::kShieldSeal};
constexpr const char* kColumnTexts[] = {texts::kNameColumn, texts::kSlotsColumn};

// WM_COPYGLOBALDATA, which a drop sends before WM_DROPFILES; the headers do not name it.
constexpr UINT kCopyGlobalData = 0x0049;

struct DropTraits {
    using type = HDROP;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { DragFinish(h); }
};
using UniqueDrop = UniqueHandle<DropTraits>;  // a WM_DROPFILES drop, finished when done

struct MenuTraits {
    using type = HMENU;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { DestroyMenu(h); }
};
using UniquePopup = UniqueHandle<MenuTraits>;

// A control's whole text, however long.
std::wstring wide_text(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

// A box's text in Shift-JIS, cut (at a character boundary) to max_bytes.
std::string sjis_text(HWND window, std::size_t max_bytes) {
    return std::string(sjis_prefix(narrow(wide_text(window)), max_bytes));
}

void set_text(HWND window, std::string_view sjis) {
    SetWindowTextW(window, widen(sjis).c_str());
}

class ItemEditor {
  public:
    HWND window() const noexcept { return hwnd_; }

    void attach(HWND hwnd) noexcept { hwnd_ = hwnd; }

    void prepare(OfferedNames names, ItemEditorCalls& calls) noexcept {
        names_ = names;
        calls_ = &calls;
    }

    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) noexcept {
        switch (message) {
            case WM_CREATE:
                return create_controls() ? 0 : -1;
            case WM_DESTROY:
                hwnd_ = nullptr;
                return 0;
            case WM_NOTIFYFORMAT:
                // The controls are wide: their notifications come in the wide forms.
                return NFR_UNICODE;
            case WM_CLOSE:
                if (may_close(false)) {
                    DestroyWindow(hwnd_);
                }
                return 0;
            case WM_TIMER:
                if (wparam == kNoticeTimerId) {
                    KillTimer(hwnd_, kNoticeTimerId);
                    try {
                        set_caption(title());
                    } catch (...) {
                        trace_exception();
                    }
                    return 0;
                }
                break;
            case WM_DRAWITEM:
                if (wparam == kItemEditorListId) {
                    paint_row(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
                    return TRUE;
                }
                break;
            case WM_NOTIFY:
                if (on_notify(lparam)) {
                    return 0;
                }
                break;
            case WM_CONTEXTMENU:
                if (reinterpret_cast<HWND>(wparam) == list_) {
                    on_list_menu(lparam);
                    return 0;
                }
                break;
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
    bool may_close(bool exiting) noexcept {
        try {
            return unsaved_items_allow_close(hwnd_, wide_text(file_name_), exiting);
        } catch (...) {
            trace_exception();
            return false;
        }
    }

    // The title, with a note while "items.txt" could not be read.
    static std::wstring title() {
        std::string text = texts::kItemEditorTitle;
        if (item_database().item_file_unread()) {
            text += texts::kItemFileUnreadNote;
        }
        return widen(text);
    }

  private:
    struct Control {
        int id;
        const wchar_t* class_name;
        const char* text;
        DWORD style;
        int x, y, width, height;
    };

    bool create(std::initializer_list<Control> controls) noexcept {
        try {
            const HINSTANCE instance = window_instance(hwnd_);
            for (const Control& c : controls) {
                const std::wstring text = c.text ? widen(c.text) : std::wstring();
                if (!CreateWindowExW(0, c.class_name, c.text ? text.c_str() : nullptr,
                                     WS_CHILD | WS_VISIBLE | c.style, c.x, c.y, c.width, c.height,
                                     hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                     instance, nullptr)) {
                    return false;
                }
            }
            return true;
        } catch (...) {
            trace_exception();
            return false;
        }
    }

    // Creates the controls in their order; the rows below the tabs sit in the tab
    // control's display area (l, t, r, b in the editor's client coordinates).
    bool create_controls() noexcept {
        const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                           ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
        InitCommonControlsEx(&classes);
        read_unread_item_file(item_database());
        model_.open(*item_database().snapshot());
        if (!create({{kItemEditorFileNameId, L"EDIT", kItemFileName, WS_BORDER, 0, 0, 220, kLine},
                     {kItemEditorSaveId, L"Button", texts::kSave, BS_PUSHBUTTON, 220, 0, 40, kLine},
                     {kItemEditorLoadId, L"Button", texts::kLoad, BS_PUSHBUTTON, 260, 0, 40, kLine},
                     {kItemEditorTabsId, L"SysTabControl32", nullptr, 0, 0, kLine, kClientWidth,
                      kClientHeight - kLine}})) {
            return false;
        }
        tabs_ = GetDlgItem(hwnd_, kItemEditorTabsId);
        for (int i = 0; i < 4; ++i) {
            std::wstring text = widen(kTabTexts[i]);
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            SendMessageW(tabs_, TCM_INSERTITEMW, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&item));
        }
        RECT area{};
        GetClientRect(tabs_, &area);
        SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        OffsetRect(&area, 0, kLine);
        const int l = area.left, t = area.top, r = area.right, b = area.bottom;
        if (!create(
                {{kItemEditorSearchTextId, L"EDIT", "", WS_BORDER, l, t, 100, kLine},
                 {kItemEditorSearchId, L"Button", texts::kSearch, BS_PUSHBUTTON, l + 100, t, 40,
                  kLine},
                 {kItemEditorNextId, L"Button", texts::kNext, BS_PUSHBUTTON, l + 140, t, 40, kLine},
                 {kItemEditorResetId, L"Button", texts::kReset, BS_PUSHBUTTON, r - 60, t, 60,
                  kLine},
                 {kItemEditorNameId, L"EDIT", "", WS_BORDER, l, t + kLine, r - l - 40, kLine},
                 {kItemEditorValueId, L"EDIT", "", WS_BORDER | ES_NUMBER, l, t + 2 * kLine,
                  r - l - 40, kLine},
                 {kItemEditorApplyId, L"Button", texts::kApply, BS_PUSHBUTTON, r - 40, t + kLine,
                  40, 2 * kLine},
                 {kItemEditorListId, L"SysListView32", "",
                  LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDRAWFIXED | LVS_OWNERDATA, l, t + 3 * kLine,
                  r - l, b - t - 3 * kLine}})) {
            return false;
        }
        file_name_ = GetDlgItem(hwnd_, kItemEditorFileNameId);
        search_text_ = GetDlgItem(hwnd_, kItemEditorSearchTextId);
        name_ = GetDlgItem(hwnd_, kItemEditorNameId);
        value_ = GetDlgItem(hwnd_, kItemEditorValueId);
        list_ = GetDlgItem(hwnd_, kItemEditorListId);
        // What each box is for, in grey while it is empty (common controls 6, which the
        // program's manifest asks for).
        const std::pair<HWND, const char*> cues[] = {{file_name_, texts::kItemFileNameCue},
                                                     {search_text_, texts::kSearchTextCue},
                                                     {name_, texts::kNameColumn},
                                                     {value_, texts::kSlotsColumn}};
        for (const auto& [box, cue] : cues) {
            const std::wstring text = widen(cue);
            SendMessageW(box, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        }
        show_rows();
        SendMessageW(tabs_, TCM_SETCURFOCUS, 0, 0);
        const LRESULT extended = SendMessageW(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
        SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended | LVS_EX_GRIDLINES);
        for (int i = 0; i < 2; ++i) {
            std::wstring text = widen(kColumnTexts[i]);
            LVCOLUMNW column{};
            column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
            column.fmt = LVCFMT_LEFT;
            column.cx = 100;
            column.pszText = text.data();
            column.iSubItem = i;
            SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&column));
        }
        DragAcceptFiles(hwnd_, TRUE);
        // Run as administrator, the editor would hear of no drop from Explorer: Windows
        // filters messages from programs of lower rights. A drop needs these three.
        for (const UINT message : {UINT{WM_DROPFILES}, UINT{WM_COPYDATA}, kCopyGlobalData}) {
            ChangeWindowMessageFilterEx(hwnd_, message, MSGFLT_ALLOW, nullptr);
        }
        return true;
    }

    bool on_notify(LPARAM lparam) noexcept {
        const auto& header = *reinterpret_cast<const NMHDR*>(lparam);
        if (header.idFrom == kItemEditorTabsId && header.code == TCN_SELCHANGE) {
            change_tab();
            return true;
        }
        if (header.idFrom != kItemEditorListId) {
            return false;
        }
        if (header.code == LVN_GETDISPINFOW) {
            supply_text(reinterpret_cast<NMLVDISPINFOW*>(lparam)->item);
            return true;
        }
        if (header.code == LVN_ITEMCHANGED) {
            const auto& change = *reinterpret_cast<const NMLISTVIEW*>(lparam);
            // Only a row that becomes selected fills the edits; one that loses the
            // selection leaves them alone.
            // The focus stays where it is, so that the arrow keys and Delete go on working
            // the list.
            if ((change.uChanged & LVIF_STATE) != 0 && (change.uNewState & LVIS_SELECTED) != 0 &&
                (change.uOldState & LVIS_SELECTED) == 0) {
                fill_edits(change.iItem);
            }
            return true;
        }
        if ((header.code == NM_RETURN || header.code == NM_DBLCLK) && selected_row() >= 0) {
            // Enter or a double-click on a row: on to its value.
            SetFocus(value_);
            return true;
        }
        if (header.code == LVN_KEYDOWN &&
            reinterpret_cast<const NMLVKEYDOWN*>(lparam)->wVKey == VK_DELETE) {
            delete_selected();
            return true;
        }
        return false;
    }

    void on_command(int id) noexcept {
        try {
            switch (id) {
                case kItemEditorSearchId:
                    search(model_.search(sjis_text(search_text_, kTextBytes)));
                    break;
                case kItemEditorNextId:
                    search(model_.next(sjis_text(search_text_, kTextBytes)));
                    break;
                case kItemEditorApplyId:
                    apply();
                    break;
                case kItemEditorResetId:
                    reset();
                    break;
                case kItemEditorSaveId:
                    save();
                    break;
                case kItemEditorLoadId:
                    load(wide_text(file_name_), true);
                    break;
                default:
                    break;
            }
        } catch (...) {
            trace_exception();
        }
    }

    // The text of a row's cell, cut to the list's buffer.
    void supply_text(LVITEMW& item) noexcept {
        try {
            if ((item.mask & LVIF_TEXT) == 0 || item.iItem < 0 || !item.pszText ||
                item.cchTextMax <= 0 || item.iSubItem < 0 || item.iSubItem > 1) {
                return;
            }
            // Shift-JIS holds no character outside the basic plane, so a cut never parts a
            // surrogate pair.
            const std::wstring text =
                widen(model_.cell_text(static_cast<std::size_t>(item.iItem), item.iSubItem));
            const std::size_t fits =
                std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
            std::wmemcpy(item.pszText, text.data(), fits);
            item.pszText[fits] = L'\0';
        } catch (...) {
            trace_exception();
        }
    }

    // Each row on the window colour, the selected one in red, the others in black.
    void paint_row(const DRAWITEMSTRUCT& draw) noexcept {
        try {
            const bool selected = (draw.itemState & ODS_SELECTED) != 0;
            SetBkMode(draw.hDC, TRANSPARENT);
            SetTextColor(draw.hDC, selected ? RGB(255, 0, 0) : RGB(0, 0, 0));
            for (int column = 0; column < 2; ++column) {
                RECT cell{};
                cell.top = column;
                cell.left = LVIR_LABEL;
                SendMessageW(list_, LVM_GETSUBITEMRECT, draw.itemID,
                             reinterpret_cast<LPARAM>(&cell));
                FillRect(draw.hDC, &cell, GetSysColorBrush(COLOR_WINDOW));
                const std::wstring text = widen(model_.cell_text(draw.itemID, column));
                DrawTextW(draw.hDC, text.c_str(), static_cast<int>(text.size()), &cell,
                          DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
            }
        } catch (...) {
            trace_exception();
        }
    }

    void fill_edits(int row) {
        if (row < 0 || static_cast<std::size_t>(row) >= model_.row_count()) {
            return;
        }
        set_text(name_, model_.cell_text(static_cast<std::size_t>(row), 0));
        set_text(value_, model_.cell_text(static_cast<std::size_t>(row), 1));
    }

    int selected_row() const noexcept {
        return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                             MAKELPARAM(LVNI_SELECTED, 0)));
    }

    void set_row_state(WPARAM row, UINT state) noexcept {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = state;
        SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }

    // Selects row (made visible), which fills the edits.
    void select(std::size_t row) noexcept {
        set_row_state(static_cast<WPARAM>(-1), 0);
        SendMessageW(list_, LVM_ENSUREVISIBLE, row, TRUE);
        set_row_state(row, LVIS_SELECTED | LVIS_FOCUSED);
    }

    // Nothing selected and both edits empty: the next Apply adds.
    void select_nothing() {
        set_row_state(static_cast<WPARAM>(-1), 0);
        set_text(name_, "");
        set_text(value_, "");
    }

    void change_tab() noexcept {
        try {
            const LRESULT tab = SendMessageW(tabs_, TCM_GETCURSEL, 0, 0);
            if (tab < 0) {
                return;
            }
            model_.select_tab(static_cast<std::size_t>(tab), *item_database().snapshot());
            SendMessageW(list_, LVM_SETITEMCOUNT, 0, 0);
            select_nothing();
            show_rows();
            repaint();
        } catch (...) {
            trace_exception();
        }
    }

    // Selects a search hit, which fills the edits as a click on the row would, and moves
    // the focus to its value.
    void search(std::optional<std::size_t> hit) noexcept {
        if (hit) {
            select(*hit);
            SetFocus(value_);
        }
        repaint();
    }

    // The name box's text as the item file can hold it (in Shift-JIS, cut to kTextBytes),
    // or nothing, said in a box, when it holds a letter Shift-JIS has no form for (which
    // would be stored as a look-alike or "?", matching another name) or a comma.
    std::optional<std::string> name_to_store() {
        std::wstring unheld;
        const std::optional<std::string> name = narrow_exactly(wide_text(name_), &unheld);
        if (!name) {
            tell(widen(texts::kNameOutsideShiftJisLead) + unheld +
                 widen(texts::kNameOutsideShiftJisTail));
            return std::nullopt;
        }
        if (!fits_item_file(*name)) {
            tell(widen(texts::kNameHasComma));
            return std::nullopt;
        }
        return std::string(sjis_prefix(*name, kTextBytes));
    }

    // With a row selected, renames and revalues its entry and follows it to its row; with
    // none, adds the entry, shows its row and empties the edits for the next one.
    void apply() {
        const std::optional<std::string> name = name_to_store();
        if (!name) {
            return;
        }
        const std::string value = narrow(wide_text(value_));
        const int row = selected_row();
        if (row >= 0) {
            const std::optional<std::size_t> moved =
                model_.apply(static_cast<std::size_t>(row), *name, value, item_database());
            if (moved) {
                SendMessageW(list_, LVM_SETITEMCOUNT, model_.row_count(), 0);
                select(*moved);
                fill_edits(static_cast<int>(*moved));
            }
            repaint();
            return;
        }
        const std::optional<std::size_t> added = model_.add(*name, value, item_database());
        if (!added) {
            repaint();
            return;
        }
        SendMessageW(list_, LVM_SETITEMCOUNT, model_.row_count(), 0);
        select_nothing();
        SendMessageW(list_, LVM_ENSUREVISIBLE, *added, FALSE);
        SetFocus(name_);
        repaint();
    }

    void delete_selected() noexcept {
        try {
            const int row = selected_row();
            if (row >= 0 && model_.remove(static_cast<std::size_t>(row), item_database())) {
                rows_replaced();
            }
        } catch (...) {
            trace_exception();
        }
    }

    // The list's right-click menu: 削除 for the row under the cursor (which it selects),
    // then the names offered for the tab. From the keyboard (no point), the menu opens at
    // the selected row, or at the list's corner.
    void on_list_menu(LPARAM at) noexcept {
        try {
            POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
            const bool from_keyboard = point.x == -1 && point.y == -1;
            int row = -1;
            if (from_keyboard) {
                row = selected_row();
                RECT place{LVIR_BOUNDS, 0, 0, 0};
                if (row < 0 || !SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                                             reinterpret_cast<LPARAM>(&place))) {
                    place = {};
                }
                point = {place.left, place.bottom};
                ClientToScreen(list_, &point);
            } else {
                LVHITTESTINFO hit{};
                hit.pt = point;
                ScreenToClient(list_, &hit.pt);
                row = static_cast<int>(
                    SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
                if (row >= 0 && row != selected_row()) {
                    select(static_cast<std::size_t>(row));
                }
            }
            UniquePopup menu(CreatePopupMenu());
            if (!menu) {
                return;
            }
            AppendMenuW(menu.get(), MF_STRING | (row >= 0 ? 0 : MF_GRAYED), kDeleteCommand,
                        widen(texts::kDeleteEntry).c_str());
            const Offer offer = offer_names();
            if (names_) {
                AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
            }
            if (offer.note) {
                AppendMenuW(menu.get(), MF_STRING | MF_GRAYED, 0, widen(offer.note).c_str());
            }
            for (std::size_t i = 0; i < offer.names.size(); ++i) {
                AppendMenuW(menu.get(), MF_STRING, kFirstNameCommand + i,
                            widen(offer.names[i]).c_str());
            }
            const UINT chosen = static_cast<UINT>(
                calls_->track_popup_menu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                         point.x, point.y, 0, hwnd_, nullptr));
            if (chosen == kDeleteCommand) {
                delete_selected();
            } else if (chosen >= kFirstNameCommand &&
                       chosen - kFirstNameCommand < offer.names.size()) {
                take_name(offer.names[chosen - kFirstNameCommand]);
            }
        } catch (...) {
            trace_exception();
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
        set_text(name_, sjis_prefix(name, kTextBytes));
        SetFocus(value_);
    }

    void set_caption(const std::wstring& text) noexcept { SetWindowTextW(hwnd_, text.c_str()); }

    void tell(const std::wstring& text) {
        MessageBoxW(hwnd_, text.c_str(), widen(texts::kItemEditorTitle).c_str(),
                    MB_OK | MB_ICONWARNING);
    }

    // A save that succeeds says so in the caption for a while; one that fails, or has no
    // file name, is told in a box owned by the editor (see save_items), and the tables
    // stay as they are, so the user can save again. True when the file was written.
    bool save() noexcept {
        try {
            const std::wstring path = wide_text(file_name_);
            if (path.empty()) {
                tell(widen(texts::kNoFileName));
                return false;
            }
            if (!save_items(hwnd_, path)) {
                return false;
            }
            // Said in the caption for a while, with no button to press.
            set_caption(path + L" " + widen(texts::kSavedTo));
            check(SetTimer(hwnd_, kNoticeTimerId, kNoticeMs, nullptr), "SetTimer");
            return true;
        } catch (...) {
            trace_exception();
            return false;
        }
    }

    // Reads "items.txt" again into the four tables; one that cannot be read is told. When
    // it could not be read at start, what it holds becomes the saved tables first.
    void reset() {
        ItemDatabase& db = item_database();
        read_unread_item_file(db);
        set_caption(title());
        if (model_.reset(read_text_file(widen(kItemFileName)), db)) {
            rows_replaced();
        } else {
            tell(widen(kItemFileName) + L" " + widen(texts::kFileNotRead));
        }
    }

    // Loads the file at path; told (asked for by the load button) says so when it cannot be
    // read or no name is given.
    void load(const std::wstring& path, bool told) noexcept {
        try {
            if (path.empty()) {
                if (told) {
                    tell(widen(texts::kNoFileName));
                }
                return;
            }
            if (model_.load(read_text_file(path), item_database())) {
                rows_replaced();
            } else {
                tell(path + L" " + widen(texts::kFileNotRead));
            }
        } catch (...) {
            trace_exception();
        }
    }

    // One dropped file is loaded from its whole path, read in wide characters so that
    // a folder named in letters outside code page 932 works too; a path is never cut to
    // fit a buffer, since a cut path can name another file. Several files are ignored.
    void on_drop(UniqueDrop drop) noexcept {
        try {
            if (DragQueryFileW(drop.get(), 0xFFFFFFFF, nullptr, 0) != 1) {
                return;
            }
            const UINT length = DragQueryFileW(drop.get(), 0, nullptr, 0);
            std::wstring path(std::size_t{length} + 1, L'\0');
            if (DragQueryFileW(drop.get(), 0, path.data(), length + 1) != length) {
                return;
            }
            path.resize(length);
            load(path, false);
        } catch (...) {
            trace_exception();
        }
    }

    void show_rows() noexcept {
        SendMessageW(list_, LVM_SETITEMCOUNT, model_.row_count(), 0);
        SendMessageW(list_, LVM_ENSUREVISIBLE, 0, FALSE);
    }

    // After the shown table was replaced or lost a row: its rows, nothing selected.
    void rows_replaced() {
        SendMessageW(list_, LVM_SETITEMCOUNT, model_.row_count(), 0);
        select_nothing();
        repaint();
    }

    void repaint() noexcept {
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }

    HWND hwnd_ = nullptr;
    HWND file_name_ = nullptr;
    HWND tabs_ = nullptr;
    HWND search_text_ = nullptr;
    HWND name_ = nullptr;
    HWND value_ = nullptr;
    HWND list_ = nullptr;
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
    if (!register_window_class(instance, kClassName, &window_procedure<ItemEditor>,
                               static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)))) {
        return nullptr;
    }
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const POINT origin = centred_on_screen(width, height);
    HWND hwnd = CreateWindowExW(0, widen(kClassName).c_str(), L"", kStyle, origin.x, origin.y,
                                width, height, owner, nullptr, instance, &editor);
    if (!hwnd) {
        return nullptr;
    }
    SetWindowTextW(hwnd, ItemEditor::title().c_str());
    ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

HWND item_editor_window() noexcept {
    return item_editor().window();
}

bool item_editor_allows_exit(HWND overlay) noexcept {
    ItemEditor& editor = item_editor();
    if (editor.window()) {
        return editor.may_close(true);
    }
    try {
        return unsaved_items_allow_close(overlay, widen(kItemFileName), true);
    } catch (...) {
        trace_exception();
        return false;
    }
}

}  // namespace quilla

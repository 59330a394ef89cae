// The item editor window: four category tabs over a virtual, owner-drawn list of the shown
// table, search and next hit, the selected row's name and value with Apply, save and load
// by file name, loading a dropped file, and reset from "items.txt". The tables and their
// rules live in item_editor_model.h; this file is the window around them.
#include "ui/item_editor_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/code_page_win.h"
#include "base/file_win.h"
#include "base/handles_win.h"
#include "base/program_texts.h"
#include "base/window_class_win.h"
#include "base/text.h"
#include "items/item_db.h"
#include "ui/item_editor_ids.h"
#include "items/item_editor_model.h"
#include "items/item_file.h"
#include "items/item_file_win.h"

namespace quilla {
namespace {

constexpr char kClassName[] = "ItemEditorDialog";
constexpr auto& kTitle = texts::kItemEditorTitle;
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU;  // fixed size, close box only
constexpr int kClientWidth = 300;
constexpr int kClientHeight = 400;
constexpr int kLine = 22;  // height of an edit or button row

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

class ItemEditor {
  public:
    HWND window() const noexcept { return hwnd_; }

    void attach(HWND hwnd) noexcept { hwnd_ = hwnd; }

    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) noexcept {
        switch (message) {
            case WM_CREATE:
                return create_controls() ? 0 : -1;
            case WM_DESTROY:
                hwnd_ = nullptr;
                return 0;
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
            case WM_NOTIFYFORMAT:
                return NFR_ANSI;  // the window is wide, its controls still notify in ANSI
            default:
                break;
        }
        return DefWindowProcW(hwnd_, message, wparam, lparam);
    }

  private:
    struct Control {
        int id;
        const char* class_name;
        const char* text;
        DWORD style;
        int x, y, width, height;
    };

    bool create(std::initializer_list<Control> controls) noexcept {
        const HINSTANCE instance = window_instance(hwnd_);
        for (const Control& c : controls) {
            if (!CreateWindowExA(0, c.class_name, c.text, WS_CHILD | WS_VISIBLE | c.style, c.x, c.y,
                                 c.width, c.height, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance,
                                 nullptr)) {
                return false;
            }
        }
        return true;
    }

    // Creates the controls in their order; the rows below the tabs sit in the tab
    // control's display area (l, t, r, b in the editor's client coordinates).
    bool create_controls() noexcept {
        const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                           ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
        InitCommonControlsEx(&classes);
        model_.open(*item_database().snapshot());
        if (!create({{kItemEditorFileNameId, "EDIT", "", WS_BORDER, 0, 0, 220, kLine},
                     {kItemEditorSaveId, "Button", texts::kSave, BS_PUSHBUTTON, 220, 0, 40, kLine},
                     {kItemEditorLoadId, "Button", texts::kLoad, BS_PUSHBUTTON, 260, 0, 40, kLine},
                     {kItemEditorTabsId, "SysTabControl32", nullptr, 0, 0, kLine, kClientWidth,
                      kClientHeight - kLine}})) {
            return false;
        }
        tabs_ = GetDlgItem(hwnd_, kItemEditorTabsId);
        for (int i = 0; i < 4; ++i) {
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<char*>(kTabTexts[i]);
            SendMessageA(tabs_, TCM_INSERTITEMA, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&item));
        }
        RECT area{};
        GetClientRect(tabs_, &area);
        SendMessageA(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        OffsetRect(&area, 0, kLine);
        const int l = area.left, t = area.top, r = area.right, b = area.bottom;
        if (!create(
                {{kItemEditorSearchTextId, "EDIT", "", WS_BORDER, l, t, 100, kLine},
                 {kItemEditorSearchId, "Button", texts::kSearch, BS_PUSHBUTTON, l + 100, t, 40,
                  kLine},
                 {kItemEditorNextId, "Button", texts::kNext, BS_PUSHBUTTON, l + 140, t, 40, kLine},
                 {kItemEditorResetId, "Button", texts::kReset, BS_PUSHBUTTON, r - 60, t, 60, kLine},
                 {kItemEditorNameId, "EDIT", "", WS_BORDER, l, t + kLine, r - l - 40, kLine},
                 {kItemEditorValueId, "EDIT", "", WS_BORDER | ES_NUMBER, l, t + 2 * kLine,
                  r - l - 40, kLine},
                 {kItemEditorApplyId, "Button", texts::kApply, BS_PUSHBUTTON, r - 40, t + kLine, 40,
                  2 * kLine},
                 {kItemEditorListId, "SysListView32", "",
                  LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDRAWFIXED | LVS_OWNERDATA, l, t + 3 * kLine,
                  r - l, b - t - 3 * kLine}})) {
            return false;
        }
        file_name_ = GetDlgItem(hwnd_, kItemEditorFileNameId);
        search_text_ = GetDlgItem(hwnd_, kItemEditorSearchTextId);
        name_ = GetDlgItem(hwnd_, kItemEditorNameId);
        value_ = GetDlgItem(hwnd_, kItemEditorValueId);
        list_ = GetDlgItem(hwnd_, kItemEditorListId);
        show_rows();
        SendMessageA(tabs_, TCM_SETCURFOCUS, 0, 0);
        const LRESULT extended = SendMessageA(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
        SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended | LVS_EX_GRIDLINES);
        for (int i = 0; i < 2; ++i) {
            LVCOLUMNA column{};
            column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
            column.fmt = LVCFMT_LEFT;
            column.cx = 100;
            column.pszText = const_cast<char*>(kColumnTexts[i]);
            column.iSubItem = i;
            SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
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
        if (header.code == LVN_GETDISPINFOA) {
            supply_text(reinterpret_cast<NMLVDISPINFOA*>(lparam)->item);
            return true;
        }
        if (header.code == LVN_ITEMCHANGED) {
            select_row(reinterpret_cast<const NMLISTVIEW*>(lparam)->iItem);
            return true;
        }
        return false;
    }

    void on_command(int id) noexcept {
        switch (id) {
            case kItemEditorSearchId:
                search(model_.search(window_text(search_text_)));
                break;
            case kItemEditorNextId:
                search(model_.next(window_text(search_text_)));
                break;
            case kItemEditorApplyId:
                apply();
                break;
            case kItemEditorResetId:
                if (model_.reset(read_text_file(widen(kItemFileName)), item_database())) {
                    refresh_rows();
                }
                break;
            case kItemEditorSaveId:
                save();
                break;
            case kItemEditorLoadId:
                load(widen(window_text(file_name_)));
                break;
            default:
                break;
        }
    }

    // The text of a row's cell, cut (at a character boundary) to the list's buffer.
    void supply_text(LVITEMA& item) noexcept {
        if ((item.mask & LVIF_TEXT) == 0 || item.iItem < 0 || !item.pszText ||
            item.cchTextMax <= 0 || item.iSubItem < 0 || item.iSubItem > 1) {
            return;
        }
        const std::string text =
            model_.cell_text(static_cast<std::size_t>(item.iItem), item.iSubItem);
        const std::string_view fits =
            sjis_prefix(text, static_cast<std::size_t>(item.cchTextMax) - 1);
        std::memcpy(item.pszText, fits.data(), fits.size());
        item.pszText[fits.size()] = '\0';
    }

    // Each row on the window colour, the selected one in red, the others in black.
    void paint_row(const DRAWITEMSTRUCT& draw) noexcept {
        const bool selected = (draw.itemState & ODS_SELECTED) != 0;
        SetBkMode(draw.hDC, TRANSPARENT);
        SetTextColor(draw.hDC, selected ? RGB(255, 0, 0) : RGB(0, 0, 0));
        for (int column = 0; column < 2; ++column) {
            RECT cell{};
            cell.top = column;
            cell.left = LVIR_LABEL;
            SendMessageA(list_, LVM_GETSUBITEMRECT, draw.itemID, reinterpret_cast<LPARAM>(&cell));
            FillRect(draw.hDC, &cell, GetSysColorBrush(COLOR_WINDOW));
            const std::string text = model_.cell_text(draw.itemID, column);
            DrawTextA(draw.hDC, text.c_str(), -1, &cell,
                      DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
        }
    }

    void select_row(int row) noexcept {
        if (row < 0 || static_cast<std::size_t>(row) >= model_.row_count()) {
            return;
        }
        SetWindowTextA(name_, model_.cell_text(static_cast<std::size_t>(row), 0).c_str());
        SetWindowTextA(value_, model_.cell_text(static_cast<std::size_t>(row), 1).c_str());
        SetFocus(value_);
    }

    void change_tab() noexcept {
        const LRESULT tab = SendMessageA(tabs_, TCM_GETCURSEL, 0, 0);
        if (tab < 0) {
            return;
        }
        model_.select_tab(static_cast<std::size_t>(tab));
        SendMessageA(list_, LVM_SETITEMCOUNT, 0, 0);
        SetWindowTextA(name_, "");
        SetWindowTextA(value_, "");
        show_rows();
        repaint();
    }

    // Selects a search hit, which fills the edits as a click on the row would.
    void search(std::optional<std::size_t> hit) noexcept {
        if (hit) {
            const auto row = static_cast<WPARAM>(*hit);
            SendMessageA(list_, LVM_ENSUREVISIBLE, row, TRUE);
            LVITEMA state{};
            state.stateMask = LVIS_SELECTED;
            state.state = LVIS_SELECTED;
            SendMessageA(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
        }
        repaint();
    }

    // With a row selected, renames and revalues it; with none, adds the entry and
    // selects its row.
    void apply() noexcept {
        const LRESULT row = SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                         MAKELPARAM(LVNI_SELECTED, 0));
        if (row >= 0) {
            model_.apply(static_cast<std::size_t>(row), window_text(name_), window_text(value_),
                         item_database());
            refresh_rows();
            return;
        }
        const std::optional<std::size_t> added =
            model_.add(window_text(name_), window_text(value_), item_database());
        if (!added) {
            return;
        }
        SendMessageA(list_, LVM_SETITEMCOUNT, model_.row_count(), 0);
        search(added);  // selects and shows the new row, as a search hit is
    }

    // A save that fails is told in a box owned by the editor; the tables stay as they
    // are, so the user can save again.
    void save() noexcept {
        try {
            const std::string path = window_text(file_name_);
            if (path.empty()) {
                return;
            }
            SaveFailure why = SaveFailure::none;
            if (!write_item_file(path, model_.refresh_saved(*item_database().snapshot()), &why)) {
                const std::string text =
                    path + " " + texts::kFileNotSaved + "\r\n" + save_failure_phrase(why);
                MessageBoxA(hwnd_, text.c_str(), texts::kItemEditorTitle, MB_OK | MB_ICONWARNING);
            }
        } catch (...) {
        }
    }

    void load(const std::wstring& path) noexcept {
        try {
            if (!path.empty() && model_.load(read_text_file(path), item_database())) {
                refresh_rows();
            }
        } catch (...) {
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
            load(path);
        } catch (...) {
        }
    }

    void show_rows() noexcept {
        SendMessageA(list_, LVM_SETITEMCOUNT, model_.row_count(), 0);
        SendMessageA(list_, LVM_ENSUREVISIBLE, 0, FALSE);
    }

    void refresh_rows() noexcept {
        SendMessageA(list_, LVM_SETITEMCOUNT, model_.row_count(), 0);
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
    ItemEditorModel model_;  // outlives the window: a new window keeps the search position
};

// The one editor; never destroyed, like the item database it edits.
ItemEditor& item_editor() {
    static ItemEditor* const instance = new ItemEditor;
    return *instance;
}

}  // namespace

HWND open_item_editor(HWND owner) {
    ItemEditor& editor = item_editor();
    if (editor.window()) {
        return editor.window();
    }
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
    HWND hwnd = CreateWindowExA(0, kClassName, kTitle, kStyle, origin.x, origin.y, width, height,
                                owner, nullptr, instance, &editor);
    if (!hwnd) {
        return nullptr;
    }
    ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

}  // namespace quilla

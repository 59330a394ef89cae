// The item editor's controls: the file row above the tabs, the rows inside the tabs'
// display area, and what they show before anything is done.
#include "ui/item_editor_layout_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <string>
#include <utility>

#include "base/code_page_win.h"
#include "base/geometry.h"
#include "base/program_texts.h"
#include "base/trace_win.h"
#include "items/item_file.h"
#include "ui/control_layout_win.h"
#include "ui/item_editor_ids.h"

namespace quilla {
namespace {

constexpr int kLine = 22;  // the height of an edit or button row
constexpr DWORD kButton = WS_VISIBLE | BS_PUSHBUTTON;
constexpr DWORD kBox = WS_VISIBLE | WS_BORDER;

// WM_COPYGLOBALDATA, which a drop sends before WM_DROPFILES; the headers do not name it.
constexpr UINT kCopyGlobalData = 0x0049;

constexpr std::array kFileRow = {
    ControlPlace{"EDIT", kItemEditorFileNameId, kBox, {0, 0, 220, kLine}, kItemFileName},
    ControlPlace{"Button", kItemEditorSaveId, kButton, {220, 0, 260, kLine}, texts::kSave},
    ControlPlace{"Button", kItemEditorLoadId, kButton, {260, 0, 300, kLine}, texts::kLoad},
    ControlPlace{"SysTabControl32",
                 kItemEditorTabsId,
                 WS_VISIBLE,
                 {0, kLine, kItemEditorClientWidth, kItemEditorClientHeight}},
};

// The rows inside area, the tab control's display area in the editor's client pixels.
std::array<ControlPlace, 8> rows_in(const Rect& a) {
    const int l = a.left, t = a.top, r = a.right, b = a.bottom;
    return {{
        {"EDIT", kItemEditorSearchTextId, kBox, {l, t, l + 100, t + kLine}},
        {"Button", kItemEditorSearchId, kButton, {l + 100, t, l + 140, t + kLine}, texts::kSearch},
        {"Button", kItemEditorNextId, kButton, {l + 140, t, l + 180, t + kLine}, texts::kNext},
        {"Button", kItemEditorResetId, kButton, {r - 60, t, r, t + kLine}, texts::kReset},
        {"EDIT", kItemEditorNameId, kBox, {l, t + kLine, r - 40, t + 2 * kLine}},
        {"EDIT", kItemEditorValueId, kBox | ES_NUMBER, {l, t + 2 * kLine, r - 40, t + 3 * kLine}},
        {"Button",
         kItemEditorApplyId,
         kButton,
         {r - 40, t + kLine, r, t + 3 * kLine},
         texts::kApply},
        {"SysListView32",
         kItemEditorListId,
         WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDRAWFIXED | LVS_OWNERDATA,
         {l, t + 3 * kLine, r, b}},
    }};
}

constexpr const char* kTabTexts[] = {texts::kWeapon, texts::kShield, texts::kWeaponSeal,
                                     texts::kShieldSeal};
constexpr const char* kColumnTexts[] = {texts::kNameColumn, texts::kSlotsColumn};

bool create_all(HWND editor, const auto& controls) {
    for (const ControlPlace& control : controls) {
        if (!create_control(editor, control)) {
            return false;
        }
    }
    return true;
}

// The tab control's display area, in the editor's client pixels.
Rect display_area(HWND tabs) {
    RECT area{};
    check(GetClientRect(tabs, &area), "GetClientRect");
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return {area.left, area.top + kLine, area.right, area.bottom + kLine};
}

void add_tabs(HWND tabs) {
    for (int i = 0; i < 4; ++i) {
        std::wstring text = widen(kTabTexts[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
    }
}

void add_columns(HWND list) {
    const LRESULT extended = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended | LVS_EX_GRIDLINES);
    for (int i = 0; i < 2; ++i) {
        std::wstring text = widen(kColumnTexts[i]);
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = 100;
        column.pszText = text.data();
        column.iSubItem = i;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&column));
    }
}

}  // namespace

std::optional<ItemEditorControls> create_item_editor_controls(HWND editor) {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                       ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    check(InitCommonControlsEx(&classes), "InitCommonControlsEx");
    if (!create_all(editor, kFileRow)) {
        return std::nullopt;
    }
    HWND tabs = GetDlgItem(editor, kItemEditorTabsId);
    add_tabs(tabs);
    if (!create_all(editor, rows_in(display_area(tabs)))) {
        return std::nullopt;
    }
    const ItemEditorControls controls{
        GetDlgItem(editor, kItemEditorFileNameId),   tabs,
        GetDlgItem(editor, kItemEditorSearchTextId), GetDlgItem(editor, kItemEditorNameId),
        GetDlgItem(editor, kItemEditorValueId),      GetDlgItem(editor, kItemEditorListId)};
    SendMessageW(tabs, TCM_SETCURFOCUS, 0, 0);
    add_columns(controls.list);
    // What each box is for, in grey while it is empty (common controls 6, which the
    // program's manifest asks for).
    const std::pair<HWND, const char*> cues[] = {{controls.file_name, texts::kItemFileNameCue},
                                                 {controls.search_text, texts::kSearchTextCue},
                                                 {controls.name, texts::kNameColumn},
                                                 {controls.value, texts::kSlotsColumn}};
    for (const auto& [box, cue] : cues) {
        const std::wstring text = widen(cue);
        SendMessageW(box, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    DragAcceptFiles(editor, TRUE);
    // Run as administrator, the editor would hear of no drop from Explorer: Windows
    // filters messages from programs of lower rights. A drop needs these three.
    for (const UINT message : {UINT{WM_DROPFILES}, UINT{WM_COPYDATA}, kCopyGlobalData}) {
        check(ChangeWindowMessageFilterEx(editor, message, MSGFLT_ALLOW, nullptr),
              "ChangeWindowMessageFilterEx");
    }
    return controls;
}

}  // namespace quilla

// LVN_GETDISPINFOW, WM_DRAWITEM and the list's selection messages.
#include "ui/item_editor_rows_win.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "base/code_page_win.h"

namespace quilla {

void ItemEditorRows::supply_text(LVITEMW& item) const {
    if ((item.mask & LVIF_TEXT) == 0 || item.iItem < 0 || !item.pszText || item.cchTextMax <= 0 ||
        item.iSubItem < 0 || item.iSubItem > 1) {
        return;
    }
    // Shift-JIS holds no character outside the basic plane, so a cut never parts a
    // surrogate pair.
    const std::wstring text =
        widen(model_->cell_text(static_cast<std::size_t>(item.iItem), item.iSubItem));
    const std::size_t fits = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
    std::wmemcpy(item.pszText, text.data(), fits);
    item.pszText[fits] = L'\0';
}

void ItemEditorRows::paint(const DRAWITEMSTRUCT& draw) const {
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    SetBkMode(draw.hDC, TRANSPARENT);
    SetTextColor(draw.hDC, selected ? RGB(255, 0, 0) : RGB(0, 0, 0));
    for (int column = 0; column < 2; ++column) {
        RECT cell{};
        cell.top = column;
        cell.left = LVIR_LABEL;
        SendMessageW(list_, LVM_GETSUBITEMRECT, draw.itemID, reinterpret_cast<LPARAM>(&cell));
        FillRect(draw.hDC, &cell, GetSysColorBrush(COLOR_WINDOW));
        const std::wstring text = widen(model_->cell_text(draw.itemID, column));
        DrawTextW(draw.hDC, text.c_str(), static_cast<int>(text.size()), &cell,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    }
}

void ItemEditorRows::recount(bool from_top) const noexcept {
    SendMessageW(list_, LVM_SETITEMCOUNT, model_->row_count(), 0);
    if (from_top) {
        ensure_visible(0);
    }
}

void ItemEditorRows::ensure_visible(std::size_t row) const noexcept {
    SendMessageW(list_, LVM_ENSUREVISIBLE, row, FALSE);
}

int ItemEditorRows::selected() const noexcept {
    return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                         MAKELPARAM(LVNI_SELECTED, 0)));
}

void ItemEditorRows::set_state(WPARAM row, UINT state) const noexcept {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = state;
    SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void ItemEditorRows::select(std::size_t row) const noexcept {
    set_state(static_cast<WPARAM>(-1), 0);
    SendMessageW(list_, LVM_ENSUREVISIBLE, row, TRUE);
    set_state(row, LVIS_SELECTED | LVIS_FOCUSED);
}

void ItemEditorRows::select_none() const noexcept {
    set_state(static_cast<WPARAM>(-1), 0);
}

int ItemEditorRows::row_at(POINT screen) const noexcept {
    LVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(list_, &hit.pt);
    return static_cast<int>(SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

POINT ItemEditorRows::below(int row) const noexcept {
    RECT place{LVIR_BOUNDS, 0, 0, 0};
    if (row < 0 || !SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                                 reinterpret_cast<LPARAM>(&place))) {
        place = {};
    }
    POINT point{place.left, place.bottom};
    ClientToScreen(list_, &point);
    return point;
}

}  // namespace quilla

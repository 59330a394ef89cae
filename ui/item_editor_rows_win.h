// The item editor's list of rows: the shown table's rows, their text given to the list
// and painted when it asks, and which row is selected.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>

#include "items/item_editor_model.h"

namespace quilla {

class ItemEditorRows {
  public:
    // The rows of model's shown table in list, a virtual owner-drawn report list view.
    ItemEditorRows(HWND list, const ItemEditorModel& model) noexcept
        : list_(list), model_(&model) {}

    // The text of a row's cell as the list asks for it, cut to the list's buffer.
    void supply_text(LVITEMW& item) const;
    // One row on the window colour, the selected one in red, the others in black.
    void paint(const DRAWITEMSTRUCT& draw) const;

    // The list holds as many rows as the shown table; from_top scrolls to the first.
    void recount(bool from_top = false) const noexcept;
    void ensure_visible(std::size_t row) const noexcept;

    // The selected row, or -1.
    int selected() const noexcept;
    // Selects row (made visible), which the list reports as a change of its rows.
    void select(std::size_t row) const noexcept;
    void select_none() const noexcept;

    // The row under a point of the screen, or -1.
    int row_at(POINT screen) const noexcept;
    // Where a menu for row opens from the keyboard: below it, or the list's corner.
    POINT below(int row) const noexcept;

  private:
    void set_state(WPARAM row, UINT state) const noexcept;

    HWND list_;
    const ItemEditorModel* model_;
};

}  // namespace quilla

// The item editor's window and controls as laid out: its size and style, where each
// control sits (the rows below the tabs inside the tab control's display area), and
// making them with their tabs, columns and cues.
#pragma once

#include <windows.h>

#include <optional>

namespace quilla {

inline constexpr char kItemEditorClass[] = "ItemEditorDialog";
inline constexpr DWORD kItemEditorStyle = WS_CAPTION | WS_SYSMENU;  // fixed size, close box
inline constexpr int kItemEditorClientWidth = 300;
inline constexpr int kItemEditorClientHeight = 400;

// The controls the editor works with, once made.
struct ItemEditorControls {
    HWND file_name;
    HWND tabs;
    HWND search_text;
    HWND name;
    HWND value;
    HWND list;
};

// Makes the editor's controls in their order as children of editor, with the tabs, the
// list's two columns and grid lines, and the boxes' cue banners, and lets files be dropped
// on it. Nothing when a control could not be made.
std::optional<ItemEditorControls> create_item_editor_controls(HWND editor);

}  // namespace quilla

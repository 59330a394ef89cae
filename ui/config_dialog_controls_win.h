// The configuration dialog's child controls: class, id, place, size and style of each, in
// the order the dialog creates them (which is also their order under GW_CHILD, top
// first, until the capture panel is raised). The labels, buttons and swatches the dialog
// paints itself are in config/config_rules.h.
#pragma once

#include <windows.h>

#include <array>

#include "config/config_rules.h"
#include "ui/control_layout_win.h"

namespace quilla {

inline constexpr int kHotKeyButtonId = 58;
inline constexpr int kCapturePanelId = 59;

// Each control's place in kDialogControls, which lists them in this order.
enum DialogControl : int {
    kFontList,
    kSizeField,
    kWeaponField,
    kShieldField,
    kAmuletField,
    kWaitField,
    kItemWindowBox,
    kHookBox,
    kHotKeyButton,
    kCapturePanel,
    kDialogControlCount,
};

inline constexpr DWORD kDialogField = WS_VISIBLE | WS_BORDER;
inline constexpr DWORD kDialogCheckBox = WS_VISIBLE | BS_AUTOCHECKBOX;

// In the order of DialogControl. A combo box's height includes its list.
inline constexpr std::array<ControlPlace, kDialogControlCount> kDialogControls = {{
    {"COMBOBOX", 0, WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, {10, 30, 210, 230}},
    {"EDIT", 0, kDialogField | ES_NUMBER, {220, 30, 260, 55}},
    {"EDIT", 0, kDialogField, {200, 90, 400, 115}},
    {"EDIT", 0, kDialogField, {200, 115, 400, 140}},
    {"EDIT", 0, kDialogField, {200, 140, 400, 165}},
    {"EDIT", 0, kDialogField | ES_NUMBER, {200, 190, 300, 215}},
    {"BUTTON", 0, kDialogCheckBox, {260, 224, 272, 236}},
    {"BUTTON", 0, kDialogCheckBox, {260, 254, 272, 266}},
    {"BUTTON", kHotKeyButtonId, WS_VISIBLE | BS_PUSHBUTTON, {280, 248, 380, 272}},
    // Hidden until the hot-key button is pressed; it then covers the whole dialog.
    {"STATIC", kCapturePanelId, SS_LEFT, {0, 0, kConfigDialogWidth, kConfigDialogHeight}},
}};

}  // namespace quilla

// The configuration dialog's child controls: class, id, place, size and style of each, in
// the order the dialog creates them (which is also their order under GW_CHILD, top
// first, until the capture panel is raised). The labels, buttons and swatches the dialog
// paints itself are in config/config_rules.h.
#pragma once

#include <windows.h>

#include <array>

#include "config/config_rules.h"

namespace quilla {

inline constexpr int kHotKeyButtonId = 58;
inline constexpr int kCapturePanelId = 59;

// Each control's place in kDialogControls.
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

struct DialogControlPlace {
    DialogControl control;
    const char* class_name;
    int id;
    int x, y, width, height;  // client pixels; a combo box's height includes its list
    DWORD style;
};

inline constexpr DWORD kDialogField = WS_CHILD | WS_VISIBLE | WS_BORDER;
inline constexpr DWORD kDialogCheckBox = WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX;

inline constexpr std::array<DialogControlPlace, kDialogControlCount> kDialogControls = {{
    {kFontList, "COMBOBOX", 0, 10, 30, 200, 200,
     WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST},
    {kSizeField, "EDIT", 0, 220, 30, 40, 25, kDialogField | ES_NUMBER},
    {kWeaponField, "EDIT", 0, 200, 90, 200, 25, kDialogField},
    {kShieldField, "EDIT", 0, 200, 115, 200, 25, kDialogField},
    {kAmuletField, "EDIT", 0, 200, 140, 200, 25, kDialogField},
    {kWaitField, "EDIT", 0, 200, 190, 100, 25, kDialogField | ES_NUMBER},
    {kItemWindowBox, "BUTTON", 0, 260, 224, 12, 12, kDialogCheckBox},
    {kHookBox, "BUTTON", 0, 260, 254, 12, 12, kDialogCheckBox},
    {kHotKeyButton, "BUTTON", kHotKeyButtonId, 280, 248, 100, 24,
     WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON},
    // Hidden until the hot-key button is pressed; it then covers the whole dialog.
    {kCapturePanel, "STATIC", kCapturePanelId, 0, 0, kConfigDialogWidth, kConfigDialogHeight,
     WS_CHILD | SS_LEFT},
}};

constexpr bool each_control_at_its_place() {
    for (int i = 0; i < kDialogControlCount; ++i) {
        if (kDialogControls[i].control != i) {
            return false;
        }
    }
    return true;
}
static_assert(each_control_at_its_place());

}  // namespace quilla

// The context menu's items: caption, command id and kind of each, in menu order, for the
// main menu and its two submenus. The check items are the display options (their ids are
// option ids); the radio items choose the position mode.
#pragma once

#include <array>
#include <span>

#include "app/command_ids.h"
#include "base/program_texts.h"
#include "config/options.h"

namespace quilla {

enum class MenuItemKind { kCheck, kSubmenu, kCommand, kSeparator, kRadio };

struct MenuItem {
    MenuItemKind kind;
    const char* caption;  // nullptr for a separator
    int id;               // 0 for a separator
};

inline constexpr MenuItem kMenuSeparator{MenuItemKind::kSeparator, nullptr, 0};

inline constexpr std::array<MenuItem, 14> kMainMenuItems = {{
    {MenuItemKind::kCheck, texts::kMenuTopMost, kOptionTopMost},
    {MenuItemKind::kCheck, texts::kMenuTransparent, kOptionTransparent},
    kMenuSeparator,
    {MenuItemKind::kSubmenu, texts::kMenuDisplay, kCommandDisplayMenu},
    kMenuSeparator,
    {MenuItemKind::kSubmenu, texts::kMenuPosition, kCommandPositionMenu},
    kMenuSeparator,
    {MenuItemKind::kCommand, texts::kMenuSlotsUp, kCommandSlotsUp},
    {MenuItemKind::kCommand, texts::kMenuSlotsDown, kCommandSlotsDown},
    kMenuSeparator,
    {MenuItemKind::kCommand, texts::kMenuSettings, kCommandSettings},
    {MenuItemKind::kCommand, texts::kMenuInformation, kCommandInformation},
    kMenuSeparator,
    {MenuItemKind::kCommand, texts::kMenuExit, kCommandExit},
}};

inline constexpr std::array<MenuItem, 9> kDisplayMenuItems = {{
    {MenuItemKind::kCheck, texts::kMenuShowWeapon, kOptionWeapon},
    {MenuItemKind::kCheck, texts::kMenuShowShield, kOptionShield},
    {MenuItemKind::kCheck, texts::kMenuShowAmulet, kOptionAmulet},
    kMenuSeparator,
    {MenuItemKind::kCheck, texts::kMenuShowFreeSlots, kOptionMaru},
    {MenuItemKind::kCheck, texts::kMenuHideOverflowSeals, kOptionIn},
    {MenuItemKind::kCheck, texts::kMenuShowSlots, kOptionUtsuwa},
    kMenuSeparator,
    {MenuItemKind::kCommand, texts::kMenuItemEditor, kCommandItemEditor},
}};

inline constexpr std::array<MenuItem, 3> kPositionMenuItems = {{
    {MenuItemKind::kRadio, texts::kMenuPositionFree, kCommandPositionFree},
    {MenuItemKind::kRadio, texts::kMenuPositionPinned, kCommandPositionPinned},
    {MenuItemKind::kRadio, texts::kMenuPositionExtended, kCommandPositionExtended},
}};

// The items of the submenu that a submenu item opens; empty for any other id.
constexpr std::span<const MenuItem> submenu_items(int id) noexcept {
    switch (id) {
        case kCommandDisplayMenu:
            return kDisplayMenuItems;
        case kCommandPositionMenu:
            return kPositionMenuItems;
        default:
            return {};
    }
}

}  // namespace quilla

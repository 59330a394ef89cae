// Builds the popup menus from context_menu_items.h's tables and keeps their marks in step.
#include "app/context_menu_win.h"

#include <string>

#include "app/context_menu_items.h"
#include "base/code_page_win.h"
#include "base/trace_win.h"
#include "config/live_settings.h"
#include "config/options.h"

namespace quilla {
namespace {

// Appends the item at the menu's end; a submenu item takes the submenu, which then belongs
// to the menu.
bool append(HMENU menu, UINT position, const MenuItem& item, HMENU submenu) noexcept {
    std::wstring caption;
    try {
        caption = item.caption ? widen(item.caption) : std::wstring();
    } catch (...) {
        trace_exception();
        return false;
    }
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.wID = static_cast<UINT>(item.id);
    info.dwTypeData = caption.data();
    switch (item.kind) {
        case MenuItemKind::kCheck:
            info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING;
            info.fState = options().is_on(item.id) ? MFS_CHECKED : 0;
            break;
        case MenuItemKind::kSubmenu:
            info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
            info.hSubMenu = submenu;
            break;
        case MenuItemKind::kCommand:
            info.fMask = MIIM_ID | MIIM_STRING;
            break;
        case MenuItemKind::kSeparator:
            info.fMask = MIIM_FTYPE;
            info.fType = MFT_SEPARATOR;
            info.dwTypeData = nullptr;
            break;
        case MenuItemKind::kRadio:
            info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_FTYPE;
            info.fType = MFT_RADIOCHECK;
            info.fState =
                position_command_for_mode(position_mode().load()) == item.id ? MFS_CHECKED : 0;
            break;
    }
    return check(InsertMenuItemW(menu, position, TRUE, &info), "InsertMenuItemW");
}

// A popup menu of the items, with their submenus; empty when any part could not be made.
UniqueMenu build_menu(std::span<const MenuItem> items) noexcept {
    UniqueMenu menu(CreatePopupMenu());
    if (!check(static_cast<bool>(menu), "CreatePopupMenu")) {
        return menu;
    }
    UINT position = 0;
    for (const MenuItem& item : items) {
        UniqueMenu submenu;
        if (item.kind == MenuItemKind::kSubmenu) {
            submenu = build_menu(submenu_items(item.id));
            if (!submenu) {
                return UniqueMenu();
            }
        }
        if (!append(menu.get(), position++, item, submenu.get())) {
            return UniqueMenu();
        }
        submenu.release();  // now the menu's
    }
    return menu;
}

}  // namespace

UniqueMenu build_context_menu() {
    return build_menu(kMainMenuItems);
}

void update_check_mark(HMENU menu, int option_id) noexcept {
    if (!menu) {
        return;
    }
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    info.fState = options().is_on(option_id) ? MFS_CHECKED : 0;
    check(SetMenuItemInfoW(menu, static_cast<UINT>(option_id), FALSE, &info), "SetMenuItemInfoW");
}

void update_position_mark(HMENU menu) noexcept {
    const std::optional<int> chosen = position_command_for_mode(position_mode().load());
    if (!menu || !chosen) {
        return;
    }
    check(CheckMenuRadioItem(menu, kCommandPositionFree, kCommandPositionExtended,
                             static_cast<UINT>(*chosen), MF_BYCOMMAND),
          "CheckMenuRadioItem");
}

}  // namespace quilla

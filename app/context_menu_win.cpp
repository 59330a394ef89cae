// The context menu: its tree, captions, ids and initial marks.
#include "app/context_menu_win.h"

#include "base/program_texts.h"
#include "config/live_settings.h"
#include "config/options.h"

namespace quilla {
namespace {

enum class ItemKind { Check, Submenu, Command, Separator, Radio };

struct MenuItem {
    ItemKind kind;
    const char* caption;
    int id;
};

void insert(HMENU menu, UINT position, const MenuItem& item, HMENU submenu = nullptr) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.wID = static_cast<UINT>(item.id);
    info.dwTypeData = const_cast<char*>(item.caption);
    switch (item.kind) {
        case ItemKind::Check:
            info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING;
            info.fState = options().is_on(item.id) ? MFS_CHECKED : 0;
            break;
        case ItemKind::Submenu:
            info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
            info.hSubMenu = submenu;
            break;
        case ItemKind::Command:
            info.fMask = MIIM_ID | MIIM_STRING;
            break;
        case ItemKind::Separator:
            info.fMask = MIIM_FTYPE;
            info.fType = MFT_SEPARATOR;
            info.dwTypeData = nullptr;
            break;
        case ItemKind::Radio:
            info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_FTYPE;
            info.fType = MFT_RADIOCHECK;
            info.fState =
                position_command_for_mode(position_mode().load()) == item.id ? MFS_CHECKED : 0;
            break;
    }
    InsertMenuItemA(menu, position, TRUE, &info);
}

void insert_range(HMENU menu, const MenuItem* items, UINT first, UINT last,
                  HMENU submenu = nullptr) {
    for (UINT position = first; position <= last; ++position) {
        insert(menu, position, items[position],
               items[position].kind == ItemKind::Submenu ? submenu : nullptr);
    }
}

constexpr MenuItem kSeparator{ItemKind::Separator, nullptr, 0};

constexpr MenuItem kMainItems[] = {
    {ItemKind::Check, texts::kMenuTopMost, kOptionTopMost},
    {ItemKind::Check, texts::kMenuTransparent, kOptionTransparent},
    kSeparator,
    {ItemKind::Submenu, texts::kMenuDisplay, kCommandDisplayMenu},
    kSeparator,
    {ItemKind::Submenu, texts::kMenuPosition, kCommandPositionMenu},
    kSeparator,
    {ItemKind::Command, texts::kMenuSlotsUp, kCommandSlotsUp},
    {ItemKind::Command, texts::kMenuSlotsDown, kCommandSlotsDown},
    kSeparator,
    {ItemKind::Command, texts::kMenuSettings, kCommandSettings},
    {ItemKind::Command, texts::kMenuInformation, kCommandInformation},
    kSeparator,
    {ItemKind::Command, texts::kMenuExit, kCommandExit},
};

constexpr MenuItem kDisplayItems[] = {
    {ItemKind::Check, texts::kMenuShowWeapon, kOptionWeapon},
    {ItemKind::Check, texts::kMenuShowShield, kOptionShield},
    {ItemKind::Check, texts::kMenuShowAmulet, kOptionAmulet},
    kSeparator,
    {ItemKind::Check, texts::kMenuShowFreeSlots, kOptionMaru},
    {ItemKind::Check, texts::kMenuHideOverflowSeals, kOptionIn},
    {ItemKind::Check, texts::kMenuShowSlots, kOptionUtsuwa},
    kSeparator,
    {ItemKind::Command, texts::kMenuItemEditor, kCommandItemEditor},
};

constexpr MenuItem kPositionItems[] = {
    {ItemKind::Radio, texts::kMenuPositionFree, kCommandPositionFree},
    {ItemKind::Radio, texts::kMenuPositionPinned, kCommandPositionPinned},
    {ItemKind::Radio, texts::kMenuPositionExtended, kCommandPositionExtended},
};

}  // namespace

UniqueMenu build_context_menu() {
    UniqueMenu main(CreatePopupMenu());
    UniqueMenu display(CreatePopupMenu());
    UniqueMenu position(CreatePopupMenu());
    if (!main || !display || !position) {
        return UniqueMenu();
    }
    // Items go in in this order: main 0-3, the display submenu, main 4-5, the position
    // submenu, main 6-13. Once attached, a submenu belongs to the main menu.
    insert_range(main.get(), kMainItems, 0, 3, display.get());
    insert_range(display.get(), kDisplayItems, 0, 8);
    display.release();
    insert_range(main.get(), kMainItems, 4, 5, position.get());
    insert_range(position.get(), kPositionItems, 0, 2);
    position.release();
    insert_range(main.get(), kMainItems, 6, 13);
    return main;
}

void update_check_mark(HMENU menu, int option_id) noexcept {
    if (!menu) {
        return;
    }
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    info.fState = options().is_on(option_id) ? MFS_CHECKED : 0;
    SetMenuItemInfoA(menu, static_cast<UINT>(option_id), FALSE, &info);
}

void update_position_mark(HMENU menu) noexcept {
    const std::optional<int> chosen = position_command_for_mode(position_mode().load());
    if (!menu || !chosen) {
        return;
    }
    CheckMenuRadioItem(menu, kCommandPositionFree, kCommandPositionExtended,
                       static_cast<UINT>(*chosen), MF_BYCOMMAND);
}

}  // namespace quilla

// Dispatches a menu command id to its toggle, position change, slot change or window.
#include "app/menu_commands_win.h"

#include "app/context_menu_win.h"
#include "app/slot_target.h"
#include "base/trace_win.h"
#include "config/live_settings.h"
#include "config/options.h"
#include "host/host_window_win.h"
#include "host/unrecognised_names_win.h"
#include "items/item_db.h"
#include "overlay/overlay_state.h"
#include "ui/config_dialog_win.h"
#include "ui/item_editor_win.h"
#include "ui/version_information_win.h"

namespace quilla {
namespace {

void toggle_top_most(const CommandTarget& target) {
    const bool on = options().toggle(kOptionTopMost) == 1;
    check(SetWindowPos(target.overlay, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE),
          "SetWindowPos");
    update_check_mark(target.menu, kOptionTopMost);
}

void set_position_mode(const CommandTarget& target, int32_t mode) {
    {
        std::lock_guard lock(host_layout_mutex());
        position_mode().store(mode);
        if (mode != kPositionExtended) {
            restore_host_height();
        }
    }
    update_position_mark(target.menu);
}

// Adds delta to the slot count of the weapon or shield drawn under the menu point.
void adjust_slots(const CommandTarget& target, int32_t delta) {
    POINT point = target.menu_point;
    ScreenToClient(target.overlay, &point);
    const std::string name = slot_target_name(point.y, *drawn_lines().snapshot());
    if (name.empty()) {
        return;
    }
    item_database().modify([&](ItemTables& tables) { adjust(tables, name, delta); });
}

// A window of ours that is open already comes to the front, restored when minimized, rather
// than staying hidden behind another program's.
void bring_to_front(HWND window) {
    if (!window) {
        return;
    }
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    SetForegroundWindow(window);
}

}  // namespace

void run_menu_command(const CommandTarget& target, int id) {
    switch (id) {
        case kOptionTopMost:
            toggle_top_most(target);
            break;
        case kOptionTransparent:
        case kOptionWeapon:
        case kOptionShield:
        case kOptionAmulet:
        case kOptionIn:
        case kOptionUtsuwa:
        case kOptionMaru:
            options().toggle(id);
            update_check_mark(target.menu, id);
            break;
        case kCommandPositionFree:
        case kCommandPositionPinned:
        case kCommandPositionExtended:
            set_position_mode(target, *position_mode_for_command(id));
            break;
        case kCommandSlotsUp:
            adjust_slots(target, +1);
            break;
        case kCommandSlotsDown:
            adjust_slots(target, -1);
            break;
        case kCommandItemEditor:
            bring_to_front(open_item_editor(target.overlay, &unrecognised_host_names));
            break;
        case kCommandSettings:
            bring_to_front(open_config_dialog(target.overlay, display_settings()));
            break;
        case kCommandInformation:
            show_version_information(target.overlay);
            break;
        case kCommandExit:
            // Only here, on the user's word, are unsaved item changes asked about: at a
            // session end, or when another program closes the overlay, they are kept in
            // the recovery file instead.
            if (item_editor_allows_exit(target.overlay)) {
                SendMessageW(target.overlay, WM_CLOSE, 0, 0);
            }
            break;
        default:
            // Other ids (the submenu items) do nothing.
            break;
    }
}

}  // namespace quilla

// Loading the settings at start-up and saving them at exit.
#include "app/settings_file_win.h"

#include "base/file_win.h"
#include "base/program_texts.h"
#include "base/text.h"
#include "base/window_placement_win.h"
#include "config/live_settings.h"
#include "config/overlay_font_win.h"
#include "config/settings.h"
#include "host/host_window_win.h"
#include "items/item_db.h"
#include "items/item_file_win.h"

namespace quilla {

Point load_settings() {
    const auto bytes = read_file_bytes(kSettingsFileName);
    const SettingsValues v =
        parse_settings(bytes ? *bytes : std::string(), [] { request_inventory_window(); });

    options().load(v.options);
    position_mode().store(v.pos);
    DisplaySettings display;
    display.font_color = v.font_color;
    display.back_color = v.back_color;
    display.edge_color = v.edge_color;
    display.weapon_text = v.weapon_text;
    display.shield_text = v.shield_text;
    display.amulet_text = v.amulet_text;
    display.wait = v.wait;
    display.item_window = v.item_window;
    display.hook = v.hook;
    display.hook_key = v.hook_key;
    display.font = create_overlay_font(v.font_face, v.font_size);
    display_settings().publish(std::move(display));

    load_startup_items(item_database());
    return {v.x, v.y};
}

bool save_settings(HWND overlay, SaveFailure* why, DWORD retry_ms) noexcept {
    if (why) {
        *why = SaveFailure::none;
    }
    if (!overlay) {
        return false;
    }
    try {
        SettingsValues v;
        if (const std::optional<Point> at = normal_position_on_screen(overlay)) {
            v.x = at->x;
            v.y = at->y;
        }
        v.options = options().states();
        v.pos = position_mode().load();
        const auto display = display_settings().snapshot();
        v.item_window = display->item_window;
        v.hook = display->hook;
        v.hook_key = display->hook_key;
        LOGFONTA lf;
        if (read_logfont(font_handle(display->font), lf)) {
            v.font_face = std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
            v.font_size = lf.lfHeight;
        }
        v.weapon_text = display->weapon_text;
        v.shield_text = display->shield_text;
        v.amulet_text = display->amulet_text;
        v.back_color = display->back_color;
        v.font_color = display->font_color;
        v.edge_color = display->edge_color;
        v.wait = display->wait;
        return replace_file_atomically(kSettingsFileName, format_settings(v), why, FileCalls{},
                                       retry_ms);
    } catch (...) {
        if (why) {
            *why = SaveFailure::other;
        }
        return false;
    }
}

void show_settings_save_failure(SaveFailure why) noexcept {
    try {
        const std::string path = full_path(kSettingsFileName);
        const std::string text = std::string(texts::kSettingsNotSaved) + "\r\n" + path + "\r\n" +
                                 save_failure_phrase(why);
        MessageBoxA(nullptr, text.c_str(), texts::kErrorCaption,
                    MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
    } catch (...) {
    }
}

}  // namespace quilla

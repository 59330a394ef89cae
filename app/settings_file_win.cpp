// Loading the settings at start-up and saving them at exit.
#include "app/settings_file_win.h"

#include "base/code_page_win.h"
#include "base/file_win.h"
#include "base/program_texts.h"
#include "base/text.h"
#include "base/trace_win.h"
#include "base/window_placement_win.h"
#include "config/live_settings.h"
#include "config/overlay_font_win.h"
#include "config/settings.h"
#include "host/host_window_win.h"
#include "items/item_db.h"
#include "items/item_file.h"
#include "items/item_file_win.h"

namespace quilla {

LoadedSettings load_settings() {
    // Only a file that is not there is no settings file; one that is there but could not
    // be read gives the defaults too, and is then kept as it is.
    const FileRead read = read_whole_text_file(widen(kSettingsFileName));
    const SettingsValues v = parse_settings(read.bytes, [] { request_inventory_window(); });

    // The record as a whole; the program's own values where the running program keeps them.
    display_settings().publish(
        DisplaySettings{v.record, create_overlay_font(v.font_face, v.font_size)});
    options().load(v.options);
    position_mode().store(v.pos);

    load_startup_items(item_database(), widen(kItemFileName));
    return {{v.x, v.y}, read.outcome == ReadOutcome::kUnreadable};
}

bool save_settings(HWND overlay, SaveFailure* why, DWORD retry_ms, Clock& clock) noexcept {
    if (why) {
        *why = SaveFailure::kNone;
    }
    if (!overlay) {
        return false;
    }
    try {
        const auto display = display_settings().snapshot();
        // The record as a whole; the program's own values as the running program has them.
        SettingsValues v(display->record);
        if (const std::optional<Point> at = normal_position_on_screen(overlay)) {
            v.x = at->x;
            v.y = at->y;
        }
        v.options = options().states();
        v.pos = position_mode().load();
        if (const std::optional<FontDescription> font = describe_font(font_handle(display->font))) {
            v.font_face = font->face;
            v.font_size = font->height;
        }
        return replace_file_atomically(kSettingsFileName, format_settings(v), why, retry_ms,
                                       system_calls<FileCalls>(), clock);
    } catch (...) {
        trace_exception();
        if (why) {
            *why = SaveFailure::kOther;
        }
        return false;
    }
}

namespace {

// A box of no window: the lead, the settings file's full path, and the reason.
void show_settings_box(const char* lead, const char* reason) noexcept {
    try {
        // Wide, so that the path shows as the user reads it, letters outside code page
        // 932 included.
        const std::wstring text =
            widen(lead) + L"\r\n" + full_path(widen(kSettingsFileName)) + L"\r\n" + widen(reason);
        MessageBoxW(nullptr, text.c_str(), widen(texts::kErrorCaption).c_str(),
                    MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
    } catch (...) {
        trace_exception();
    }
}

}  // namespace

void show_settings_save_failure(SaveFailure why) noexcept {
    show_settings_box(texts::kSettingsNotSaved, save_failure_phrase(why));
}

void show_settings_left_unread() noexcept {
    show_settings_box(texts::kSettingsLeftUnread, texts::kSettingsUnreadReason);
}

}  // namespace quilla

// The settings as the program runs with them, shared by the primary thread (menu commands,
// dialogs, start-up and exit) and the render worker, which reads them on every pass. Each
// is created on first use and never destroyed, so a render worker that outlives the end of
// the message loop can never touch a destroyed object. Numbers are atomics; strings and
// the font travel in published immutable snapshots.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "base/published.h"
#include "config/options.h"
#include "config/settings.h"

namespace quilla {

// The settings that the render worker draws with. The font is the overlay font (an HFONT
// on Windows) held by shared ownership: whoever lets go of it last deletes it, so the
// worker never selects a font that the configuration dialog has already released.
struct DisplaySettings {
    uint32_t font_color = 0xFFFFFF;
    uint32_t back_color = 0x000000;
    uint32_t edge_color = 0x000000;
    std::string weapon_text;
    std::string shield_text;
    std::string amulet_text;
    int32_t wait = 100;
    int32_t item_window = 0;
    int32_t hook = 0;
    int32_t hook_key = 0;
    std::shared_ptr<void> font;
};

OptionTable& options();
std::atomic<int32_t>& position_mode();
Published<DisplaySettings>& display_settings();

}  // namespace quilla

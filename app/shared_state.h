// The process-wide values that the primary thread and the render worker share. Each is
// created on first use and never destroyed, so a render worker that outlives the end of
// the message loop can never touch a destroyed object. Numbers are atomics; strings and
// the font travel in published immutable snapshots.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "app/options.h"
#include "base/published.h"
#include "host/equipment_parser.h"

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

struct OverlaySize {
    std::atomic<int32_t> width{20};
    std::atomic<int32_t> height{20};
};

OptionTable& options();
// 1 free, 2 pinned to the host's lower-left corner, 3 host extended; 0 during shutdown.
std::atomic<int32_t>& position_mode();
OverlaySize& overlay_size();
Published<DisplaySettings>& display_settings();
// Held while the position mode is changed together with the host's height, by the menu
// commands and the shutdown (mode, then restore) and by the render worker (mode 3 still
// on, then extend). So an extension the worker decided on can never land after the
// restore that ended mode 3. Each side holds it only for a window-rectangle read and an
// asynchronous resize request.
std::mutex& host_layout_mutex();
// The lines the render worker built on its last pass.
Published<EquipmentState>& equipment_state();

}  // namespace quilla

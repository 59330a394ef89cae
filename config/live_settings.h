// The settings as the program runs with them, shared by the primary thread (menu commands,
// dialogs, start-up and exit) and the render worker, which reads them on every pass. Each
// is created on first use and never destroyed, so a render worker that outlives the end of
// the message loop can never touch a destroyed object. Numbers are atomics; strings and
// the font travel in published immutable snapshots.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>

#include "base/published.h"
#include "config/options.h"
#include "config/settings.h"

namespace quilla {

// The settings that the render worker draws with: the settings file's record and the
// overlay font (an HFONT on Windows), held by shared ownership: whoever lets go of it last
// deletes it, so the worker never selects a font that the configuration dialog has
// already released.
struct DisplaySettings {
    SettingsRecord record;
    std::shared_ptr<void> font;
};

OptionTable& options();
std::atomic<int32_t>& position_mode();
Published<DisplaySettings>& display_settings();

}  // namespace quilla

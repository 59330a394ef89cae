// The settings as the program runs with them.
#include "config/live_settings.h"

namespace quilla {

// Deliberately never destroyed: see the header.
OptionTable& options() {
    static auto* table = new OptionTable;
    return *table;
}

std::atomic<int32_t>& position_mode() {
    static auto* mode = new std::atomic<int32_t>(kPositionFree);
    return *mode;
}

Published<DisplaySettings>& display_settings() {
    static auto* settings = new Published<DisplaySettings>;
    return *settings;
}

}  // namespace quilla

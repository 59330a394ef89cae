// The process-wide values that the primary thread and the render worker share.
#include "app/shared_state.h"

namespace quilla {

// Deliberately never destroyed: see the header.
OptionTable& options() {
    static auto* table = new OptionTable;
    return *table;
}

std::atomic<int32_t>& position_mode() {
    static auto* mode = new std::atomic<int32_t>(1);
    return *mode;
}

OverlaySize& overlay_size() {
    static auto* size = new OverlaySize;
    return *size;
}

std::mutex& host_layout_mutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}

Published<DisplaySettings>& display_settings() {
    static auto* settings = new Published<DisplaySettings>;
    return *settings;
}

Published<EquipmentState>& equipment_state() {
    static auto* state = new Published<EquipmentState>;
    return *state;
}

}  // namespace quilla

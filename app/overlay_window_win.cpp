// The overlay window (placeholder while the shell is being built).
#include "app/overlay_window_win.h"

namespace quilla {

int run_overlay_application(HINSTANCE) {
    return 0;
}

}  // namespace quilla

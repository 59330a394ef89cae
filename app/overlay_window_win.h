// The overlay window: class registration, creation at the saved position, the blocking
// message loop, dragging, and the start-up and shutdown order around the render worker.
#pragma once

#include <windows.h>

namespace quilla {

// The overlay window's class and title.
inline constexpr char kOverlayClassName[] = "QUILLA_WS_R7V_APPLICATION";
inline constexpr char kOverlayTitle[] = "Quilla WS";

// Registers the class, loads the settings, creates and shows the overlay window and runs
// the message loop. Returns the process exit code: 0 after a normal end, 1 when the
// window could not be created.
int run_overlay_application(HINSTANCE instance);

}  // namespace quilla

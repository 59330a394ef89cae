// Process entry: creates the overlay window and runs the message loop.
#include <windows.h>

#include "app/overlay_window_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return quilla::run_overlay_application(instance);
}

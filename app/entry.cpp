// Process entry: enters the primary thread's COM apartment, creates the overlay window and
// runs the message loop.
#include <windows.h>

#include "app/overlay_window_win.h"
#include "base/com_apartment_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before anything can open the download address with the shell; a failure is not
    // fatal (the shell may still manage without it).
    const quilla::ComApartment com;
    return quilla::run_overlay_application(instance);
}

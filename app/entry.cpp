// Process entry: makes sure no other copy runs in this folder, enters the primary thread's
// COM apartment, creates the overlay window and runs the message loop.
#include <windows.h>

#include "app/overlay_window_win.h"
#include "app/single_instance_win.h"
#include "base/com_apartment_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before anything else: a second copy in this folder ends without a window and
    // without reading or writing a file, and leaves the first one as it is.
    const quilla::FolderClaim claim = quilla::claim_working_directory();
    if (claim.another_copy_runs) {
        return 0;
    }
    // Before anything can open the download address with the shell; a failure is not
    // fatal (the shell may still manage without it).
    const quilla::ComApartment com;
    return quilla::run_overlay_application(instance);
}

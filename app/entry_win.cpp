// WinMain: the folder claim, the shutdown level and the COM apartment, then the overlay.
#include <windows.h>

#include "app/overlay_window_win.h"
#include "app/session_end_order_win.h"
#include "app/single_instance_win.h"
#include "base/com_apartment_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before anything else: a second copy in this folder ends without reading or writing
    // a file, and leaves the first one as it is; when the first is another user's or runs
    // with other rights, a box says so first.
    quilla::FolderClaim claim = quilla::claim_working_directory();
    if (quilla::yield_to_another_copy(claim)) {
        return 0;
    }
    // Told of the session's end before the host is, so the host's height is given back
    // before the host saves it.
    quilla::ask_to_hear_of_session_end_early();
    // Before anything can open the download address with the shell; a failure is not
    // fatal (the shell may still manage without it).
    const quilla::ComApartment com;
    return quilla::run_overlay_application(instance);
}

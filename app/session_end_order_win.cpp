// Asks Windows for the shutdown level given in the header.
#include "app/session_end_order_win.h"

namespace quilla {

bool ask_to_hear_of_session_end_early() {
    // No SHUTDOWN_NORETRY: Windows may still offer the player to wait for the program.
    return SetProcessShutdownParameters(kSessionEndLevel, 0) != FALSE;
}

}  // namespace quilla

// The measuring tools' shared step with the stand-in host: waiting until it shows the
// whole generated inventory.
#pragma once

#include <windows.h>

#include "tests/support/test_process_win.h"
#include "tools/measure/sample_files.h"

namespace quilla::measure {

// Waits up to timeout_ms until the stand-in's list box holds every line of the inventory.
inline bool wait_for_inventory(const test_support::ChildProcess& host, DWORD timeout_ms) {
    return test_support::wait_until(
        [&] {
            HWND list = host.find_inventory_window();
            DWORD_PTR count = 0;
            return list &&
                   SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &count) &&
                   count == kInventoryLines;
        },
        timeout_ms, host.process());
}

}  // namespace quilla::measure

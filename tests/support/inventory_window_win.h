// Test support for reading the host's inventory in-process: a top-level list box with the
// inventory window's title, and stand-in calls that let messages through to it until a
// set number have been answered, then fail them as Windows does for a host that stops
// answering (ERROR_TIMEOUT) or runs with higher rights (ERROR_ACCESS_DENIED).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/handles_win.h"
#include "host/host_window_win.h"
#include "host/inventory_reader_win.h"

namespace quilla::test_support {

// The lines of the host's inventory window alone, however the read ended.
inline std::vector<std::string> read_inventory_lines(const InventoryReadLimits& limits = {}) {
    return read_inventory(limits).lines;
}

// A top-level list box with the inventory title in this process, holding lines.
inline UniqueWindow local_inventory(const std::vector<std::string>& lines) {
    UniqueWindow list(CreateWindowExA(0, kInventoryClass, kInventoryTitle, WS_OVERLAPPEDWINDOW, 0,
                                      0, 200, 200, nullptr, nullptr, GetModuleHandleA(nullptr),
                                      nullptr));
    for (const std::string& line : lines) {
        SendMessageA(list.get(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    return list;
}

struct MessageFault {
    int answers;  // messages answered before the fault
    DWORD error;  // the last error of every later one
};

// SendMessageTimeoutW until fault.answers messages have been answered; then fails with
// fault.error. Set the fault before each read.
class FailingCalls : public InventoryCalls {
  public:
    LRESULT send_timeout(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT flags,
                         UINT timeout_ms, PDWORD_PTR result) override {
        if (fault.answers <= 0) {
            SetLastError(fault.error);
            return 0;
        }
        --fault.answers;
        return InventoryCalls::send_timeout(window, message, wparam, lparam, flags, timeout_ms,
                                            result);
    }

    MessageFault fault{};
};

}  // namespace quilla::test_support

// Reading the lines of the host application's inventory window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/clock_win.h"
#include "base/seam.h"
#include "host/host_window_win.h"

namespace quilla {

// How much of the host's list one render pass reads: a host can claim any number of
// lines and answer each message slowly, and the pass must still end.
struct InventoryReadLimits {
    uint32_t max_lines = 4096;       // far above any real inventory
    uint32_t time_budget_ms = 2000;  // for the whole read
};

// How a read ended.
enum class InventoryReadEnd {
    // Every line asked for was asked: the whole list, the first max_lines lines of a
    // longer one, or no lines when the window is not open or holds none.
    kWhole,
    // Stopped early, or not one list: the host stopped answering (hung, too slow, or its
    // window went away in the middle of the list), the time budget was spent, or the list
    // changed during the read (a line below the count was not there, a line grew between
    // its length and its text, or the count at the end differs from the count at the
    // start). The lines are at most a front part of the list.
    kCut,
    // The host refused our messages (ERROR_ACCESS_DENIED): it runs with higher rights than
    // we do, and Windows keeps us from talking to its windows.
    kRefused,
};

struct InventoryRead {
    std::vector<std::string> lines;
    InventoryReadEnd end = InventoryReadEnd::kWhole;
};

// How each message goes to the inventory window.
using InventoryCalls = HostMessageCalls;

// The lines of the host's inventory window, in list order, as Shift-JIS bytes, and how
// the read ended, each message sent through calls. A line longer than any the host writes
// is skipped. At most max_lines lines are asked for, and no line is asked for once the
// time budget, measured on the clock, is spent. Never throws for anything the host does.
InventoryRead read_inventory(const InventoryReadLimits& limits = {},
                             InventoryCalls& calls = system_calls<InventoryCalls>(),
                             Clock& clock = system_clock());

}  // namespace quilla

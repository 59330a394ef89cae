// Reading the lines of the host application's inventory window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quilla {

// How much of the host's list one render pass reads: a host can claim any number of
// lines and answer each message slowly, and the pass must still end.
struct InventoryReadLimits {
    uint32_t max_lines = 4096;       // far above any real inventory
    uint32_t time_budget_ms = 2000;  // for the whole read
};

// The lines of the host's inventory window, in list order, as Shift-JIS bytes. Empty when
// the window is not open. A line the host cannot give is skipped; a host that closes the
// window, stops answering or is hung ends the list where it stopped, and so do the limits:
// at most max_lines lines are asked for, and no line is asked for once the time budget is
// spent. Never throws for anything the host does.
std::vector<std::string> read_inventory_lines(const InventoryReadLimits& limits = {});

}  // namespace quilla

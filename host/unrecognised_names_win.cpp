// Reads the host's lines now and keeps the names the item tables do not know.
#include "host/unrecognised_names_win.h"

#include "host/equipment_parser.h"
#include "host/host_window_win.h"
#include "host/inventory_reader_win.h"

namespace quilla {

std::optional<std::vector<std::string>> unrecognised_host_names(Category category,
                                                                const ItemTables& tables) {
    if (!find_inventory_window()) {
        return std::nullopt;
    }
    // A short budget: the editor's thread waits for it, and a slow host gives a front part.
    InventoryReadLimits limits;
    limits.time_budget_ms = 500;
    const InventoryRead read = read_inventory(limits);
    if (read.end == InventoryReadEnd::kRefused) {
        return std::nullopt;
    }
    return unrecognised_names(read.lines, category, tables);
}

}  // namespace quilla

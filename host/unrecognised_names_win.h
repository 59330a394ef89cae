// The names the overlay cannot recognise among the lines the host shows now, for the item
// editor to offer.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "items/item_db.h"

namespace quilla {

// unrecognised_names of the host's inventory lines for the table of category, read at
// most for half a second. Nothing when the inventory window is not open or refuses us.
std::optional<std::vector<std::string>> unrecognised_host_names(Category category,
                                                                const ItemTables& tables);

}  // namespace quilla

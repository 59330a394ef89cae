// Reading the lines of the host application's inventory window.
#pragma once

#include <string>
#include <vector>

namespace quilla {

// Every line of the host's inventory window, in list order, as Shift-JIS bytes. Empty when
// the window is not open. A line the host cannot give is skipped; a host that closes the
// window, stops answering or is hung ends the list where it stopped. Never throws for
// anything the host does.
std::vector<std::string> read_inventory_lines();

}  // namespace quilla

// Which item name the slot-count commands (器数(+) and 器数(-)) act on: the overlay line
// under the menu point, reduced to the bare item name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "overlay/shown_lines.h"

namespace quilla {

// The item name on the weapon or shield line under client y, or "" when y lies on no
// such line. The lines are those the overlay last drew, each within its band (the bands
// the drawing placed them by); the name is the line without a leading "★" and cut before
// its "+", "[" or "(" (only marks after the first "ー" count).
std::string slot_target_name(int client_y, const std::vector<OverlayLine>& drawn);

// The bare item name in an overlay line, as slot_target_name reduces it.
std::string_view item_name_of_line(std::string_view line) noexcept;

}  // namespace quilla

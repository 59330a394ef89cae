// Which item name the slot-count commands (器数(+) and 器数(-)) act on: the overlay line
// under the menu point, reduced to the bare item name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quilla {

// The item name on the overlay line at client y, or "" when y lies on no shown line.
// Lines are line_height tall from y = 0: the weapon line (when shown), then the shield
// line (when shown); a height of 0 or below shows no line. The name is the line without
// a leading "★" and cut before its "+", "[" or "(" (only marks after the first "ー"
// count).
std::string slot_target_name(int client_y, int32_t line_height, bool weapon_on, bool shield_on,
                             std::string_view weapon_line, std::string_view shield_line);

// The bare item name in an overlay line, as slot_target_name reduces it.
std::string_view item_name_of_line(std::string_view line) noexcept;

}  // namespace quilla

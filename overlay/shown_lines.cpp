// Picks the shown lines, or the one line of a host that refuses the read.
#include "overlay/shown_lines.h"

#include "base/program_texts.h"

namespace quilla {

std::vector<OverlayLine> shown_lines(const EquipmentState& state, bool weapon_on, bool shield_on,
                                     bool amulet_on, bool host_refuses) {
    std::vector<OverlayLine> lines;
    if (host_refuses) {
        // The host runs with higher rights and refuses our messages: one line says so
        // instead of the equipment lines.
        lines.push_back({LineRole::kNotice, texts::kHostRefusesText});
        return lines;
    }
    if (weapon_on) {
        lines.push_back({LineRole::kWeapon, state.weapon_line});
    }
    if (shield_on) {
        lines.push_back({LineRole::kShield, state.shield_line});
    }
    if (amulet_on) {
        lines.push_back({LineRole::kAmulet, state.amulet_line});
    }
    return lines;
}

}  // namespace quilla

// Which lines the overlay shows, in which order, and where the last pass drew them: the
// drawing and the slot-count commands' hit test share this one picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/equipment_parser.h"
#include "overlay/overlay_layout.h"

namespace quilla {

enum class LineRole { kWeapon, kShield, kAmulet, kNotice };

// One line of the overlay: what it is, its text, and where the pass drew it (an empty
// band until it is drawn).
struct OverlayLine {
    LineRole role;
    std::string text;
    LineBand band{0, 0};

    friend bool operator==(const OverlayLine&, const OverlayLine&) = default;
};

// The lines to show: the weapon, shield and amulet lines of the state that are switched
// on, in this order. When the host refuses to let us read its inventory (it runs with
// higher rights), one notice line that says so, instead of all three.
std::vector<OverlayLine> shown_lines(const EquipmentState& state, bool weapon_on, bool shield_on,
                                     bool amulet_on, bool host_refuses);

}  // namespace quilla

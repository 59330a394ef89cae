// Which lines the overlay shows, in which order.
#include "overlay/shown_lines.h"

namespace quilla {
namespace {

// Shown instead of the equipment lines when the host's inventory window refuses our
// messages because the host runs with higher rights.
constexpr char kHostRefusesText[] = "持ち物ウィンドウを読めません（管理者として実行中のため）";

}  // namespace

std::vector<OverlayLine> shown_lines(const EquipmentState& state, bool weapon_on, bool shield_on,
                                     bool amulet_on, bool host_refuses) {
    std::vector<OverlayLine> lines;
    if (host_refuses) {
        lines.push_back({LineRole::kNotice, kHostRefusesText});
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

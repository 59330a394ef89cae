// Hit tests of the dialog's painted parts, the field parsers and the one Apply.
#include "config/config_rules.h"

#include <utility>

#include "base/text.h"

namespace quilla {
namespace {

bool holds(const Box& box, int32_t x, int32_t y) noexcept {
    return x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
}

}  // namespace

DialogSpot spot_at(int32_t x, int32_t y) noexcept {
    for (const PaintedSpot& painted : kPaintedSpots) {
        if (holds(painted.click, x, y)) {
            return painted.spot;
        }
    }
    return DialogSpot::kNone;
}

int32_t font_height_from_text(std::string_view text, SizeRule rule) noexcept {
    const int32_t value = parse_decimal_int(sjis_prefix(text, kMaxFieldBytes));
    if (rule == SizeRule::kApply && value < 0) {
        return 0;
    }
    return value;
}

std::optional<int32_t> wait_from_text(std::string_view text) noexcept {
    const int32_t value = parse_decimal_int(sjis_prefix(text, kMaxFieldBytes));
    if (value > 0) {
        return value;
    }
    return std::nullopt;
}

std::string field_value(std::string_view text) {
    return std::string(sjis_prefix(text, kMaxFieldBytes));
}

void apply_edits(const DialogEdits& edits, std::shared_ptr<void> font, DisplaySettings& settings) {
    const int32_t hook = settings.hook;
    const int32_t wait = settings.wait;
    static_cast<SettingsRecord&>(settings) = edits;
    settings.hook = hook;
    settings.wait = wait_from_text(edits.wait_text).value_or(wait);
    settings.item_window = edits.item_window != 0 ? 1 : 0;
    for (std::string* text :
         {&settings.weapon_text, &settings.shield_text, &settings.amulet_text}) {
        *text = field_value(*text);
    }
    if (font) {
        settings.font = std::move(font);
    }
}

}  // namespace quilla

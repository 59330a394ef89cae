// Hit tests of the dialog's painted parts, the field parsers and the one Apply.
#include "config/config_rules.h"

#include <utility>

#include "base/text.h"

namespace quilla {
namespace {

bool holds(const Rect& area, int32_t x, int32_t y) noexcept {
    return x >= area.left && x < area.right && y >= area.top && y < area.bottom;
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
    const int32_t value = parse_decimal_int(sjis_prefix(text, kLineBytes));
    if (rule == SizeRule::kApply && value < 0) {
        return 0;
    }
    return value;
}

std::optional<int32_t> wait_from_text(std::string_view text) noexcept {
    const int32_t value = parse_decimal_int(sjis_prefix(text, kLineBytes));
    if (value >= kLeastWait) {
        return value;
    }
    return std::nullopt;
}

std::string field_value(std::string_view text) {
    return std::string(sjis_prefix(text, kLineBytes));
}

void apply_edits(const DialogEdits& edits, std::shared_ptr<void> font, DisplaySettings& settings) {
    SettingsRecord record = edits.record;
    record.hook = settings.record.hook;
    record.wait = wait_from_text(edits.wait_text).value_or(settings.record.wait);
    record.item_window = record.item_window != 0 ? 1 : 0;
    for (const SettingKey& k : kSettingKeys) {
        if (k.kind == SettingKind::kText && k.owner == SettingOwner::kRecord) {
            std::string& text = record.*k.record_text;
            text = std::string(sjis_prefix(text, k.max_bytes));
        }
    }
    settings.record = std::move(record);
    if (font) {
        settings.font = std::move(font);
    }
}

}  // namespace quilla

// The configuration dialog's rules that need no window: where its painted labels, buttons
// and colour swatches are and which click area a point falls in, how the size and interval
// fields are read, how long a text may be, and how one Apply changes the display settings.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/geometry.h"
#include "base/program_texts.h"
#include "config/live_settings.h"

namespace quilla {

inline constexpr int32_t kConfigDialogWidth = 420;
inline constexpr int32_t kConfigDialogHeight = 320;

// What a left click at a point of the dialog does.
enum class DialogSpot { kNone, kBackSwatch, kFontSwatch, kEdgeSwatch, kApply, kOk, kCancel };

// A painted button or colour swatch: the rectangle drawn, and the area that takes its
// clicks (client pixels, as every place of the program's windows: right and bottom just
// outside). A swatch is drawn down to 55 but takes clicks only down to 50.
struct PaintedSpot {
    DialogSpot spot;
    Rect drawn;
    Rect click;
    const char* caption;  // nullptr for a swatch
};

inline constexpr std::array<PaintedSpot, 6> kPaintedSpots = {{
    {DialogSpot::kBackSwatch, {270, 30, 310, 55}, {270, 30, 311, 51}, nullptr},
    {DialogSpot::kFontSwatch, {320, 30, 360, 55}, {320, 30, 361, 51}, nullptr},
    {DialogSpot::kEdgeSwatch, {370, 30, 410, 55}, {370, 30, 411, 51}, nullptr},
    {DialogSpot::kApply, {150, 290, 230, 310}, {150, 290, 231, 311}, texts::kApply},
    {DialogSpot::kOk, {240, 290, 320, 310}, {240, 290, 321, 311}, "OK"},
    {DialogSpot::kCancel, {330, 290, 410, 310}, {330, 290, 411, 311}, "Cancel"},
}};

// A label painted at a client point.
struct PaintedLabel {
    Point at;
    const char* text;
};

inline constexpr std::array<PaintedLabel, 12> kPaintedLabels = {{
    {{10, 10}, "Font"},
    {{220, 10}, "Size"},
    {{270, 10}, "Back"},
    {{320, 10}, "Font"},
    {{370, 10}, "Edge"},
    {{10, 70}, texts::kNothingEquippedLabel},
    {{10, 90}, texts::kWeapon},
    {{10, 115}, texts::kShield},
    {{10, 140}, texts::kAmulet},
    {{10, 190}, texts::kWaitLabel},
    {{10, 220}, texts::kOpenInventoryLabel},
    {{10, 250}, texts::kHotKeyLabel},
}};

// The first spot whose click area holds the point, else kNone (the dialog is dragged).
DialogSpot spot_at(int32_t x, int32_t y) noexcept;

// How a size field becomes a font height. Apply takes only a positive value (anything
// else gives 0, the font mapper's default); OK takes any value, so a negative height (a
// character height rather than a cell height) survives.
enum class SizeRule { kApply, kOk };

// The text's leading decimal integer (leading blanks, an optional sign, digits up to the
// first other byte; no digits gives 0; values beyond int32 stop at its limits) under the
// rule. Only the field's first kLineBytes count.
int32_t font_height_from_text(std::string_view text, SizeRule rule) noexcept;

// The refresh interval typed in the interval field: its leading integer when greater than
// 0; nothing (Wait stays as it is) for 0, a negative value or no digits. There is no upper
// bound; a huge value stops at the int32 limit.
std::optional<int32_t> wait_from_text(std::string_view text) noexcept;

// A text field's value: its first kLineBytes, cut before a double-byte character that
// would not fit whole, so no lone lead byte ever reaches the settings file.
std::string field_value(std::string_view text);

// What the dialog holds when Apply or OK is pressed: the record it edits (read from the
// display settings when it opened, its colours, texts, inventory request and hot key
// changed by the controls) and the interval field's text.
struct DialogEdits {
    SettingsRecord record;
    std::string wait_text;
};

// Writes the edited record into the settings, with each text cut to its row's byte limit
// on a character boundary and the interval only when wait_from_text takes it. The new font
// replaces the overlay font only when it exists: a font that could not be created leaves
// the previous one in use. The hot-key switch is not touched: the dialog keeps it until it
// closes.
void apply_edits(const DialogEdits& edits, std::shared_ptr<void> font, DisplaySettings& settings);

}  // namespace quilla

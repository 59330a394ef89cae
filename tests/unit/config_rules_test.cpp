// The configuration dialog's rules without a window: click areas, the size and interval
// fields, the text limit, and what one Apply writes.
#include "config/config_rules.h"

#include <gtest/gtest.h>

#include <limits>

namespace quilla {
namespace {

constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();

TEST(ConfigDialogSpots, ClickAreasAreInclusiveAndSwatchesEndAt50) {
    struct Case {
        int32_t x, y;
        DialogSpot spot;
    };
    const Case cases[] = {
        {270, 30, DialogSpot::kBackSwatch}, {310, 50, DialogSpot::kBackSwatch},
        {290, 51, DialogSpot::kNone},       {290, 52, DialogSpot::kNone},  // drawn, not clickable
        {311, 40, DialogSpot::kNone},       {320, 40, DialogSpot::kFontSwatch},
        {410, 50, DialogSpot::kEdgeSwatch}, {150, 290, DialogSpot::kApply},
        {230, 310, DialogSpot::kApply},     {235, 300, DialogSpot::kNone},
        {240, 300, DialogSpot::kOk},        {410, 310, DialogSpot::kCancel},
        {330, 311, DialogSpot::kNone},      {-1, -1, DialogSpot::kNone},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(spot_at(c.x, c.y), c.spot) << c.x << "," << c.y;
    }
}

TEST(ConfigDialogFields, SizeAndIntervalReadTheLeadingInteger) {
    struct Case {
        std::string text;
        int32_t apply_height, ok_height;
        std::optional<int32_t> wait;
    };
    const Case cases[] = {
        {"12abc", 12, 12, 12},
        {"", 0, 0, std::nullopt},
        {"0", 0, 0, std::nullopt},
        {"-20", 0, -20, std::nullopt},
        {"  +50", 50, 50, 50},
        {"99999999999", kIntMax, kIntMax, kIntMax},         // no overflow on a huge value
        {std::string(255, ' ') + "5", 0, 0, std::nullopt},  // only 255 bytes are read
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\"");
        EXPECT_EQ(font_height_from_text(c.text, SizeRule::kApply), c.apply_height);
        EXPECT_EQ(font_height_from_text(c.text, SizeRule::kOk), c.ok_height);
        EXPECT_EQ(wait_from_text(c.text), c.wait);
    }
}

TEST(ConfigDialogApply, WritesTheEditsAndKeepsTheFontWhenNoNewOneWasMade) {
    DisplaySettings settings;
    settings.hook = 1;
    settings.wait = 250;
    auto old_font = std::make_shared<int>(1);
    settings.font = old_font;

    DialogEdits edits;
    edits.back_color = 0x0000FF;
    edits.font_color = 0x00FF00;
    edits.edge_color = 0xFF0000;
    // 254 single bytes, then "武" (2 bytes) across the 255-byte limit.
    edits.weapon_text = std::string(254, 'a') + "武器";
    edits.shield_text = std::string(300, 'b');
    edits.amulet_text = "お守り";
    edits.wait_text = "0";
    edits.item_window = true;
    edits.hook_key = 193;

    apply_edits(edits, nullptr, settings);
    EXPECT_EQ(settings.font, old_font);
    EXPECT_EQ(settings.back_color, 0x0000FFu);
    EXPECT_EQ(settings.font_color, 0x00FF00u);
    EXPECT_EQ(settings.edge_color, 0xFF0000u);
    EXPECT_EQ(settings.weapon_text, std::string(254, 'a'));
    EXPECT_EQ(settings.shield_text, std::string(255, 'b'));
    EXPECT_EQ(settings.amulet_text, "お守り");
    EXPECT_EQ(settings.wait, 250);
    EXPECT_EQ(settings.item_window, 1);
    EXPECT_EQ(settings.hook_key, 193);
    EXPECT_EQ(settings.hook, 1);  // the switch is the dialog's to publish when it closes

    auto new_font = std::make_shared<int>(2);
    edits.wait_text = "50";
    edits.item_window = false;
    apply_edits(edits, new_font, settings);
    EXPECT_EQ(settings.font, new_font);
    EXPECT_EQ(settings.wait, 50);
    EXPECT_EQ(settings.item_window, 0);
}

}  // namespace
}  // namespace quilla

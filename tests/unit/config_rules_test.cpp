// The configuration dialog's rules without a window: click areas, the size and interval
// fields, and what Apply does when no new font could be made.
#include "config/config_rules.h"

#include <gtest/gtest.h>

#include <limits>

namespace quilla {
namespace {

TEST(ConfigDialogRules, ClickAreasAreInclusiveAndSwatchesTakeClicksOnlyDownTo50) {
    EXPECT_EQ(spot_at(270, 30), DialogSpot::kBackSwatch);
    EXPECT_EQ(spot_at(269, 30), DialogSpot::kNone);
    EXPECT_EQ(spot_at(270, 29), DialogSpot::kNone);
    EXPECT_EQ(spot_at(310, 50), DialogSpot::kBackSwatch);
    EXPECT_EQ(spot_at(290, 51), DialogSpot::kNone);  // drawn down to 55, but a free spot
    EXPECT_EQ(spot_at(290, 52), DialogSpot::kNone);
    EXPECT_EQ(spot_at(311, 40), DialogSpot::kNone);
    EXPECT_EQ(spot_at(410, 50), DialogSpot::kEdgeSwatch);
    EXPECT_EQ(spot_at(411, 50), DialogSpot::kNone);
    EXPECT_EQ(spot_at(150, 290), DialogSpot::kApply);
    EXPECT_EQ(spot_at(149, 290), DialogSpot::kNone);
    EXPECT_EQ(spot_at(150, 289), DialogSpot::kNone);
    EXPECT_EQ(spot_at(230, 310), DialogSpot::kApply);
    EXPECT_EQ(spot_at(231, 300), DialogSpot::kNone);
    EXPECT_EQ(spot_at(235, 300), DialogSpot::kNone);
    EXPECT_EQ(spot_at(239, 300), DialogSpot::kNone);
    EXPECT_EQ(spot_at(240, 300), DialogSpot::kOk);
    EXPECT_EQ(spot_at(410, 310), DialogSpot::kCancel);
    EXPECT_EQ(spot_at(410, 311), DialogSpot::kNone);
}

// (Apply and OK on the real fields are tested under Wine; these are the limits.)
TEST(ConfigDialogRules, FieldsReadOnlyTheirFirst255BytesAndHugeValuesStopAtTheLimit) {
    constexpr auto kIntMax = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(font_height_from_text(std::string(254, ' ') + "5", SizeRule::kOk), 5);
    EXPECT_EQ(font_height_from_text(std::string(255, ' ') + "5", SizeRule::kOk), 0);
    EXPECT_EQ(font_height_from_text("-1", SizeRule::kOk), -1);
    EXPECT_EQ(font_height_from_text("-1", SizeRule::kApply), 0);
    EXPECT_EQ(font_height_from_text("0", SizeRule::kApply), 0);
    EXPECT_EQ(font_height_from_text("1", SizeRule::kApply), 1);
    EXPECT_EQ(wait_from_text("2147483647"), kIntMax);
    EXPECT_EQ(wait_from_text("2147483648"), kIntMax);
    EXPECT_EQ(wait_from_text("99999999999"), kIntMax);
    EXPECT_EQ(wait_from_text("1"), 1);
    EXPECT_EQ(wait_from_text("0"), std::nullopt);
    EXPECT_EQ(wait_from_text("-5"), std::nullopt);
    EXPECT_EQ(field_value(std::string(255, 'a')), std::string(255, 'a'));
    EXPECT_EQ(field_value(std::string(256, 'a')), std::string(255, 'a'));
    EXPECT_EQ(field_value(std::string(253, 'a') + "武"), std::string(253, 'a') + "武");
}

TEST(ConfigDialogRules, ApplyKeepsTheOverlayFontWhenNoNewOneCouldBeMade) {
    DisplaySettings settings;
    settings.record.hook = 1;
    const auto old_font = std::make_shared<int>(1);
    settings.font = old_font;
    DialogEdits edits;
    edits.record.weapon_text = std::string(254, 'a') + "武";  // the character across byte 255 goes
    apply_edits(edits, nullptr, settings);
    EXPECT_EQ(settings.font, old_font);
    EXPECT_EQ(settings.record.weapon_text, std::string(254, 'a'));
    EXPECT_EQ(settings.record.hook, 1);  // the dialog publishes the switch only when it closes
    const auto new_font = std::make_shared<int>(2);
    apply_edits(edits, new_font, settings);
    EXPECT_EQ(settings.font, new_font);
}

TEST(ConfigDialogRules, ApplyCutsEveryTextAndTakesOnlyAPositiveInterval) {
    DisplaySettings settings;
    DialogEdits edits;
    edits.record.weapon_text = std::string(256, 'w');
    edits.record.shield_text = std::string(255, 's');
    edits.record.amulet_text = std::string(254, 'a') + "武";
    edits.wait_text = "0";
    apply_edits(edits, nullptr, settings);
    EXPECT_EQ(settings.record.weapon_text, std::string(255, 'w'));
    EXPECT_EQ(settings.record.shield_text, std::string(255, 's'));
    EXPECT_EQ(settings.record.amulet_text, std::string(254, 'a'));
    EXPECT_EQ(settings.record.wait, 100);  // kept
    edits.wait_text = "1";
    apply_edits(edits, nullptr, settings);
    EXPECT_EQ(settings.record.wait, 1);
}

}  // namespace
}  // namespace quilla

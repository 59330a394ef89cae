// Which item name the slot-count commands act on: the hit test on the lines as drawn, at
// their boundaries and for odd font heights, and the reduction of a line to its bare item
// name.
#include "app/slot_target.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace quilla {
namespace {

constexpr char kWeapon[] = "ドラゴンキラー";
constexpr char kShield[] = "青銅の盾";
constexpr int32_t kMaxInt = std::numeric_limits<int32_t>::max();
constexpr int32_t kMinInt = std::numeric_limits<int32_t>::min();

OverlayLine drawn(LineRole role, int32_t top, int32_t height) {
    const char* text = role == LineRole::kWeapon   ? kWeapon
                       : role == LineRole::kShield ? kShield
                                                   : "お守り";
    return {role, text, {top, height}};
}

TEST(SlotTargetName, FindsTheWeaponOrShieldLineDrawnUnderThePoint) {
    constexpr auto kW = LineRole::kWeapon;
    constexpr auto kS = LineRole::kShield;
    constexpr auto kA = LineRole::kAmulet;
    constexpr auto kN = LineRole::kNotice;
    const std::vector<OverlayLine> both = {drawn(kW, 0, 16), drawn(kS, 16, 16), drawn(kA, 32, 16)};
    // FontSize=-20: the lines stand at their measured heights.
    const std::vector<OverlayLine> measured = {drawn(kW, 0, 22), drawn(kS, 22, 23),
                                               drawn(kA, 45, 22)};
    const std::vector<OverlayLine> shield_only = {drawn(kS, 0, 16)};
    const std::vector<OverlayLine> failed_weapon = {drawn(kW, 0, 0), drawn(kS, 0, 16)};
    const std::vector<OverlayLine> notice = {drawn(kN, 0, 22)};
    const std::vector<OverlayLine> huge = {drawn(kW, 0, kMaxInt), drawn(kS, kMaxInt, kMaxInt)};
    const std::vector<OverlayLine> below_zero = {drawn(kW, kMinInt, kMaxInt)};
    struct Case {
        const std::vector<OverlayLine>& lines;
        int y;
        std::string expected;
    };
    const Case cases[] = {
        {both, -1, ""},
        {both, 0, kWeapon},
        {both, 15, kWeapon},
        {both, 16, kShield},
        {both, 31, kShield},
        {both, 32, ""},  // the amulet line is no target
        {measured, 21, kWeapon},
        {measured, 22, kShield},
        {measured, 44, kShield},
        {measured, 45, ""},
        {shield_only, 0, kShield},
        {shield_only, 16, ""},
        {failed_weapon, 0, kShield},
        {notice, 5, ""},
        {{}, 0, ""},
        {huge, kMaxInt - 1, kWeapon},
        {huge, kMaxInt, kShield},
        {below_zero, -2, kWeapon},
        {below_zero, -1, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(slot_target_name(c.y, c.lines), c.expected)
            << "y " << c.y << " on " << c.lines.size() << " lines";
    }
}

TEST(SlotTargetName, ReducesTheLineToTheItemName) {
    struct Case {
        const char* line;
        std::string expected;
    };
    const Case cases[] = {
        {"ロングソード", "ロングソード"},
        {"★ロングソード", "ロングソード"},
        {"★ロングソード+3[会心印○○]5/7", "ロングソード"},
        {"カタナ+3[会心印]", "カタナ"},
        {"カタナ[会心印]", "カタナ"},
        {"カタナ [○○○○○○○○○○] (0/9)", "カタナ"},  // shown without seals
        {"★白銀の盾  [○○] (0/3)", "白銀の盾"},
        {"カタナ(呪)", "カタナ"},
        {"カタナ(呪)+3", "カタナ"},
        {"カタナ[印(強)]", "カタナ"},
        // Marks before the first "ー" stay part of the name.
        {"剣+1ーソード+3[印]", "剣+1ーソード"},
        {"剣[a]ーソード[印]", "剣[a]ーソード"},
        {"剣(a)ーソード(b)", "剣(a)ーソード"},
        // The "[" byte that ends "ー" or "ゼ" is not a bracket.
        {"スーパーハンマー[印]", "スーパーハンマー"},
        {"ゼウスの剣[印]", "ゼウスの剣"},
        {"ドラゴンキラー", "ドラゴンキラー"},
        // "★" counts only as the leading gold mark.
        {"剣[★印]", "剣"},
        {"A★", "A★"},
        {"★", ""},
        {"[印]", ""},
        {"+3", ""},
        {"", ""},
        // A lead byte cut off at the end does not read past the text.
        {"剣\x81", "剣\x81"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(item_name_of_line(c.line), c.expected) << c.line;
        const std::vector<OverlayLine> lines = {{LineRole::kWeapon, c.line, {0, 16}},
                                                {LineRole::kShield, c.line, {16, 16}}};
        EXPECT_EQ(slot_target_name(0, lines), c.expected) << c.line;
        EXPECT_EQ(slot_target_name(16, lines), c.expected) << c.line;
    }
}

}  // namespace
}  // namespace quilla

// Which item name the slot-count commands act on: the line hit test at its boundaries and
// for odd font heights, and the reduction of a line to its bare item name.
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

struct HitCase {
    int y;
    int32_t height;
    bool weapon_on;
    bool shield_on;
    std::string expected;
};

void expect_hits(const std::vector<HitCase>& cases) {
    for (const HitCase& c : cases) {
        EXPECT_EQ(slot_target_name(c.y, c.height, c.weapon_on, c.shield_on, kWeapon, kShield),
                  c.expected)
            << "y " << c.y << ", height " << c.height << ", weapon " << c.weapon_on << ", shield "
            << c.shield_on;
    }
}

TEST(SlotTargetName, BothLinesShownBoundaries) {
    expect_hits({
        {-1, 16, true, true, ""},
        {0, 16, true, true, kWeapon},
        {5, 16, true, true, kWeapon},
        {15, 16, true, true, kWeapon},
        {16, 16, true, true, kShield},
        {20, 16, true, true, kShield},
        {31, 16, true, true, kShield},
        {32, 16, true, true, ""},
        {40, 16, true, true, ""},
    });
}

TEST(SlotTargetName, HiddenLinesTakeNoSpace) {
    expect_hits({
        {5, 16, false, true, kShield},  // weapon off: the shield line is first
        {0, 16, false, true, kShield},
        {15, 16, false, true, kShield},
        {16, 16, false, true, ""},
        {-1, 16, false, true, ""},
        {5, 16, true, false, kWeapon},
        {20, 16, true, false, ""},
        {0, 16, false, false, ""},
        {20, 16, false, false, ""},
    });
}

TEST(SlotTargetName, HeightZeroOrBelowHitsNothing) {
    expect_hits({
        {0, 0, true, true, ""},
        {-1, 0, true, true, ""},
        {0, -16, true, true, ""},
        {-10, -16, true, true, ""},
        {-20, -16, true, true, ""},
        {-32, -16, true, true, ""},
        {-20, -16, false, true, ""},
        {kMinInt, kMinInt, true, true, ""},
        {kMinInt, -1, true, true, ""},
    });
}

TEST(SlotTargetName, HugeHeightsDoNotOverflow) {
    expect_hits({
        {kMaxInt - 1, kMaxInt, true, true, kWeapon},
        {kMaxInt, kMaxInt, true, true, kShield},
        {kMaxInt, kMaxInt, false, true, ""},
        {kMaxInt - 1, kMaxInt, false, true, kShield},
        {kMaxInt, kMaxInt - 1, true, true, kShield},
        {0, kMaxInt, false, true, kShield},
    });
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
        EXPECT_EQ(slot_target_name(0, 16, true, true, c.line, kShield), c.expected) << c.line;
        EXPECT_EQ(slot_target_name(16, 16, true, true, kWeapon, c.line), c.expected) << c.line;
    }
}

}  // namespace
}  // namespace quilla

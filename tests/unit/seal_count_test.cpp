// Counting seals at the start of a seal list and the slots they use, repeat limits included.
#include "items/seal_count.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

#include <cctype>
#include <ostream>
#include <string_view>

#include <limits>
#include <string>
#include <vector>

namespace quilla {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

std::string repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

struct SealCase {
    const char* what;
    ItemTable seals;  // put into the table that kind selects
    Category kind;
    std::string text;
    int32_t tokens;
    int32_t usage;
};

void PrintTo(const SealCase& c, std::ostream* os) {
    *os << c.what;
}

class SealCountTest : public ::testing::TestWithParam<SealCase> {};

TEST_P(SealCountTest, CountsTokensAndUsage) {
    const SealCase& c = GetParam();
    SCOPED_TRACE(c.what);
    ItemTables tables;
    (c.kind == Category::kWeapon ? tables.weapon_seal : tables.shield_seal) = c.seals;
    EXPECT_EQ(count_seal_tokens(c.text, tables, c.kind), c.tokens);
    EXPECT_EQ(seal_slot_usage(c.text, tables, c.kind), c.usage);
}

constexpr auto kW = Category::kWeapon;
constexpr auto kS = Category::kShield;

INSTANTIATE_TEST_SUITE_P(
    RepeatLimits, SealCountTest,
    ::testing::Values(
        SealCase{"empty text", {{"竜", 1}}, kW, "", 0, 0},
        SealCase{"ryu x3, limit 5", {{"竜", 1}}, kW, repeat("竜", 3), 3, 3},
        SealCase{"ryu x5, limit 5", {{"竜", 1}}, kW, repeat("竜", 5), 5, 5},
        SealCase{"ryu x6, limit 5", {{"竜", 1}}, kW, repeat("竜", 6), 6, 5},
        SealCase{"ryu x7, limit 5", {{"竜", 1}}, kW, repeat("竜", 7), 7, 5},
        SealCase{"ryu x7 on a shield, limit 5 too", {{"竜", 2}}, kS, repeat("竜", 7), 7, 10},
        SealCase{"kaze x2 on a weapon, limit 2", {{"風", 1}}, kW, repeat("風", 2), 2, 2},
        SealCase{"kaze x3 on a weapon, limit 2", {{"風", 1}}, kW, repeat("風", 3), 3, 2},
        SealCase{"kaze x3 on a shield, no limit", {{"風", 1}}, kS, repeat("風", 3), 3, 3},
        SealCase{"hatsu x1 on a shield, limit 1", {{"発", 1}}, kS, "発", 1, 1},
        SealCase{"hatsu x2 on a shield, limit 1", {{"発", 1}}, kS, repeat("発", 2), 2, 1},
        SealCase{"hatsu x3 on a shield, limit 1", {{"発", 1}}, kS, repeat("発", 3), 3, 1},
        SealCase{"hatsu x3 on a weapon, no limit", {{"発", 1}}, kW, repeat("発", 3), 3, 3},
        SealCase{"kama on a weapon, limit 1", {{"鎌", 4}}, kW, repeat("鎌", 2), 2, 4},
        SealCase{"ma on a shield, limit 2", {{"魔", 3}}, kS, repeat("魔", 4), 4, 6},
        SealCase{"shiki in both tables, limit 1", {{"識", 2}}, kS, repeat("識", 3), 3, 2},
        SealCase{
            "limit applies to the exact name only", {{"竜王", 1}}, kW, repeat("竜王", 7), 7, 7},
        SealCase{"limits count each name separately",
                 {{"風", 1}, {"竜", 10}},
                 kW,
                 "風竜風竜風竜",
                 6,
                 32}),
    case_name<SealCase>);

INSTANTIATE_TEST_SUITE_P(
    Matching, SealCountTest,
    ::testing::Values(
        SealCase{"unknown first character stops everything",
                 {{"竜", 1}, {"風", 1}},
                 kW,
                 "X竜竜風",
                 0,
                 0},
        SealCase{"unknown text after known seals", {{"竜", 1}}, kW, "竜竜？竜", 2, 2},
        SealCase{"no entries", {}, kW, "竜", 0, 0},
        // 炎 (89 8a) sorts before 火 (89 ce), which sorts before 火炎 (89 ce 89 8a): at the
        // front of 火炎 the shorter 火 is taken, then 炎 on its own.
        SealCase{"shorter name at the front wins; rest counts as its own name",
                 {{"火", 1}, {"火炎", 100}, {"炎", 10}},
                 kW,
                 "火炎",
                 2,
                 11},
        SealCase{
            "rest of a longer name that is no name", {{"火", 1}, {"火炎", 100}}, kW, "火炎", 1, 1},
        // Tokens: each entry is tried once per pass, and A's turn comes before B's.
        SealCase{"entry not at the front in its turn waits for a later pass",
                 {{"A", 1}, {"B", 2}},
                 kW,
                 "BBAA",
                 4,
                 6},
        SealCase{
            "ten names: usage takes all ten", {{"A", 1}, {"B", 10}}, kW, repeat("AB", 5), 10, 55},
        SealCase{"eleven names: usage takes ten, tokens count all",
                 {{"A", 1}, {"B", 10}},
                 kW,
                 repeat("AB", 5) + "A",
                 11,
                 55},
        SealCase{
            "one name ten times: ten passes take all", {{"A", 1}}, kW, repeat("A", 10), 10, 10},
        SealCase{
            "one name eleven times: ten passes take ten", {{"A", 1}}, kW, repeat("A", 11), 10, 10},
        SealCase{"empty name is no seal", {{"", 5}, {"竜", 1}}, kW, "竜", 1, 1},
        SealCase{"empty name on empty text", {{"", 5}}, kW, "", 0, 0},
        SealCase{"weapon text is read against the weapon table only", {{"発", 1}}, kW, "竜", 0, 0},
        SealCase{"negative seal values", {{"呪", -2}}, kW, repeat("呪", 3), 3, -6}),
    case_name<SealCase>);

INSTANTIATE_TEST_SUITE_P(
    Saturation, SealCountTest,
    ::testing::Values(
        SealCase{"sum reaches the top", {{"A", kMax - 1}, {"B", 1}}, kW, "AB", 2, kMax},
        SealCase{"sum stops at the top", {{"A", kMax}}, kW, "AAA", 3, kMax},
        SealCase{"sum stops at the bottom", {{"A", kMin}}, kS, "AAA", 3, kMin},
        SealCase{"back from the top", {{"A", kMax}, {"B", -5}}, kW, "AAB", 3, kMax - 5}),
    case_name<SealCase>);

// Seven copies of a seal of one slot use as many slots as its repeat limit allows.
int32_t usage_of_seven(const std::string& seal, Category kind) {
    ItemTables tables;
    tables.weapon_seal = {{seal, 1}};
    tables.shield_seal = {{seal, 1}};
    return seal_slot_usage(repeat(seal, 7), tables, kind);
}

TEST(SealCount, EveryListedSealHasItsRepeatLimit) {
    struct Example {
        Category kind;
        const char* seal;
        int32_t slots;
    };
    const Example examples[] = {
        {kW, "鎌", 1}, {kW, "識", 1}, {kW, "風", 2}, {kW, "竜", 5}, {kW, "踊", 7}, {kS, "発", 1},
        {kS, "縛", 1}, {kS, "踊", 2}, {kS, "消", 2}, {kS, "竜", 5}, {kS, "風", 7},
    };
    for (const Example& e : examples) {
        SCOPED_TRACE(e.seal);
        EXPECT_EQ(usage_of_seven(e.seal, e.kind), e.slots);
    }
    // Every seal of every group: two bytes each, and seven copies use the group's limit.
    for (const auto& [kind, groups] : {std::pair{kW, kWeaponSealLimits}, {kS, kShieldSealLimits}}) {
        for (const SealLimitGroup& group : groups) {
            ASSERT_EQ(group.seals.size() % 2, 0u);
            for (std::size_t at = 0; at < group.seals.size(); at += 2) {
                const std::string seal(group.seals.substr(at, 2));
                SCOPED_TRACE(::testing::Message() << "limit " << group.limit << ", seal bytes "
                                                  << ::testing::PrintToString(seal));
                EXPECT_EQ(usage_of_seven(seal, kind), group.limit);
            }
        }
    }
}

TEST(SealCount, ReadsTheTableForTheKind) {
    ItemTables tables;
    tables.weapon_seal = {{"竜", 1}};
    tables.shield_seal = {{"竜", 3}};
    EXPECT_EQ(seal_slot_usage("竜竜", tables, Category::kWeapon), 2);
    EXPECT_EQ(seal_slot_usage("竜竜", tables, Category::kShield), 6);
    tables.shield_seal.clear();
    EXPECT_EQ(count_seal_tokens("竜竜", tables, Category::kShield), 0);
    EXPECT_EQ(count_seal_tokens("竜竜", tables, Category::kWeapon), 2);
}

TEST(SealCount, ACategoryWithoutSealTableCountsNothing) {
    ItemTables tables;
    tables.weapon_seal = {{"竜", 1}};
    tables.shield_seal = {{"竜", 1}};
    for (const Category other : {Category::kAmulet, Category::kWeaponSeal, Category::kShieldSeal}) {
        SCOPED_TRACE(static_cast<int>(other));
        EXPECT_EQ(count_seal_tokens("竜竜", tables, other), 0);
        EXPECT_EQ(seal_slot_usage("竜竜", tables, other), 0);
    }
}

}  // namespace
}  // namespace quilla

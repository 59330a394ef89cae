// The item tables' operations, their byte order, and the live database's snapshots.
#include "items/item_db.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

#include <cctype>
#include <ostream>
#include <string_view>

#include <limits>
#include <vector>

namespace quilla {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(ItemTables, EachCategoryNamesItsOwnTable) {
    ItemTables tables;
    set(tables, Category::kWeapon, "a", 1);
    set(tables, Category::kShield, "b", 2);
    set(tables, Category::kAmulet, "c", 3);
    set(tables, Category::kWeaponSeal, "d", 4);
    set(tables, Category::kShieldSeal, "e", 5);
    EXPECT_EQ(tables.weapon, (ItemTable{{"a", 1}}));
    EXPECT_EQ(tables.shield, (ItemTable{{"b", 2}}));
    EXPECT_EQ(tables.amulet, (ItemTable{{"c", 3}}));
    EXPECT_EQ(tables.weapon_seal, (ItemTable{{"d", 4}}));
    EXPECT_EQ(tables.shield_seal, (ItemTable{{"e", 5}}));
    const ItemTables& read_only = tables;
    EXPECT_EQ(&read_only[Category::kShieldSeal], &tables.shield_seal);
}

TEST(ItemTables, SetFindEraseClearAndSize) {
    ItemTables tables;
    EXPECT_EQ(find(tables, Category::kWeapon, "剣"), std::nullopt);

    set(tables, Category::kWeapon, "剣", 3);
    set(tables, Category::kWeapon, "剣", 7);  // replaces, keeps a single entry
    set(tables, Category::kWeapon, "", -2);   // the empty name is a name like any other
    EXPECT_EQ(find(tables, Category::kWeapon, "剣"), 7);
    EXPECT_EQ(find(tables, Category::kWeapon, ""), -2);
    EXPECT_EQ(size(tables, Category::kWeapon), 2u);
    EXPECT_EQ(find(tables, Category::kShield, "剣"), std::nullopt);

    erase(tables, Category::kWeapon, "盾");  // absent: nothing happens
    EXPECT_EQ(size(tables, Category::kWeapon), 2u);
    erase(tables, Category::kWeapon, "剣");
    EXPECT_EQ(find(tables, Category::kWeapon, "剣"), std::nullopt);
    EXPECT_EQ(size(tables, Category::kWeapon), 1u);

    set(tables, Category::kAmulet, "守", 0);
    clear(tables, Category::kWeapon);
    EXPECT_EQ(size(tables, Category::kWeapon), 0u);
    EXPECT_EQ(size(tables, Category::kAmulet), 1u);
}

struct AdjustCase {
    const char* what;
    std::optional<int32_t> weapon_before;  // nothing: the name is not in the table
    std::optional<int32_t> shield_before;
    int32_t delta;
    std::optional<int32_t> weapon_after;
    std::optional<int32_t> shield_after;
};

void PrintTo(const AdjustCase& c, std::ostream* os) {
    *os << c.what;
}

class AdjustTest : public ::testing::TestWithParam<AdjustCase> {};

TEST_P(AdjustTest, ChangesWeaponAndShieldIndependently) {
    const AdjustCase& c = GetParam();
    SCOPED_TRACE(c.what);
    ItemTables tables;
    set(tables, Category::kWeapon, "other", 10);
    if (c.weapon_before) {
        set(tables, Category::kWeapon, "名", *c.weapon_before);
    }
    if (c.shield_before) {
        set(tables, Category::kShield, "名", *c.shield_before);
    }
    adjust(tables, "名", c.delta);
    EXPECT_EQ(find(tables, Category::kWeapon, "名"), c.weapon_after);
    EXPECT_EQ(find(tables, Category::kShield, "名"), c.shield_after);
    EXPECT_EQ(find(tables, Category::kWeapon, "other"), 10);
    EXPECT_TRUE(tables.amulet.empty() && tables.weapon_seal.empty() && tables.shield_seal.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AdjustTest,
    ::testing::Values(AdjustCase{"weapon up", 3, std::nullopt, +1, 4, std::nullopt},
                      AdjustCase{"shield down", std::nullopt, 3, -1, std::nullopt, 2},
                      AdjustCase{"in both tables: both change", 3, 8, +1, 4, 9},
                      AdjustCase{"absent: nothing inserted", std::nullopt, std::nullopt, +1,
                                 std::nullopt, std::nullopt},
                      AdjustCase{"below zero", 0, std::nullopt, -1, -1, std::nullopt},
                      AdjustCase{"stops at the top", kMax, kMax - 1, +1, kMax, kMax},
                      AdjustCase{"stops at the bottom", kMin, kMin + 1, -1, kMin, kMin}),
    case_name<AdjustCase>);

TEST(ItemTables, IterateInUnsignedByteOrder) {
    ItemTables tables;
    // Inserted in an order unrelated to the expected one.
    for (const char* name : {"ｱ", "あ", "abc", "A", "ａ", "ab", "a", "剣", "", "大剣"}) {
        set(tables, Category::kWeapon, name, 0);
    }
    std::vector<std::string> order;
    for (const auto& entry : tables.weapon) {
        order.push_back(entry.first);
    }
    // "" < 41 < 61 < 61 62 < 61 62 63 < 82 81 (ａ) < 82 a0 (あ) < 8c 95 (剣) < 91 e5 (大剣)
    // < b1 (half-width ｱ): lead bytes above 0x7f sort after ASCII, as unsigned values.
    const std::vector<std::string> expected = {"",   "A",  "a",  "ab",   "abc",
                                               "ａ", "あ", "剣", "大剣", "ｱ"};
    EXPECT_EQ(order, expected);
}

TEST(ItemDatabase, SnapshotIsUnchangedByLaterChanges) {
    ItemDatabase db;
    EXPECT_EQ(*db.snapshot(), ItemTables{});

    db.modify([](ItemTables& t) { set(t, Category::kWeapon, "剣", 3); });
    const std::shared_ptr<const ItemTables> before = db.snapshot();

    db.modify([](ItemTables& t) {
        adjust(t, "剣", +1);
        set(t, Category::kShield, "盾", 2);
    });
    EXPECT_EQ(find(*before, Category::kWeapon, "剣"), 3);
    EXPECT_TRUE(before->shield.empty());

    const auto after = db.snapshot();
    EXPECT_EQ(find(*after, Category::kWeapon, "剣"), 4);
    EXPECT_EQ(find(*after, Category::kShield, "盾"), 2);

    ItemTables replacement;
    set(replacement, Category::kAmulet, "守", 0);
    db.replace(replacement);
    EXPECT_EQ(*db.snapshot(), replacement);
    EXPECT_EQ(find(*after, Category::kWeapon, "剣"), 4);
}

// The player's changes since the tables last read (from) to now (to), made again on the
// tables a later read found (onto): added and changed entries set, removed ones erased,
// the rest of onto as it is.
TEST(ItemTables, RebaseMakesTheChangesAgainOnAnotherTable) {
    const auto weapons = [](std::initializer_list<std::pair<const std::string, int32_t>> e) {
        ItemTables t;
        t.weapon = e;
        return t;
    };
    const struct {
        const char* what;
        ItemTables onto, from, to, want;
    } cases[] = {
        {"nothing changed", weapons({{"a", 1}}), weapons({{"b", 2}}), weapons({{"b", 2}}),
         weapons({{"a", 1}})},
        {"added over nothing read",
         weapons({{"a", 1}, {"b", 2}}),
         {},
         weapons({{"c", 3}}),
         weapons({{"a", 1}, {"b", 2}, {"c", 3}})},
        {"changed", weapons({{"a", 1}, {"b", 2}}), weapons({{"b", 2}}), weapons({{"b", 5}}),
         weapons({{"a", 1}, {"b", 5}})},
        {"removed", weapons({{"a", 1}, {"b", 2}}), weapons({{"b", 2}}), {}, weapons({{"a", 1}})},
        {"removed, not in onto", weapons({{"a", 1}}), weapons({{"b", 2}}), {}, weapons({{"a", 1}})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rebase(c.onto, c.from, c.to), c.want) << c.what;
    }
    ItemTables to;
    set(to, Category::kShieldSeal, "竜", 1);
    set(to, Category::kAmulet, "守", 0);
    EXPECT_EQ(rebase({}, {}, to), to) << "every category";
}

}  // namespace
}  // namespace quilla

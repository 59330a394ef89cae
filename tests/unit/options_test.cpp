// The option table: fixed ids, on only at exactly 1, toggles without overflow.
#include "config/options.h"

#include <gtest/gtest.h>

#include <limits>

namespace quilla {
namespace {

TEST(OptionTable, StartsWithTheDefaultsOfAllEightOptions) {
    OptionTable table;
    EXPECT_FALSE(table.is_on(kOptionTopMost));
    EXPECT_FALSE(table.is_on(kOptionTransparent));
    EXPECT_TRUE(table.is_on(kOptionWeapon));
    EXPECT_TRUE(table.is_on(kOptionShield));
    EXPECT_TRUE(table.is_on(kOptionAmulet));
    EXPECT_TRUE(table.is_on(kOptionMaru));
    EXPECT_FALSE(table.is_on(kOptionIn));
    EXPECT_FALSE(table.is_on(kOptionUtsuwa));
}

TEST(OptionTable, OnlyOneCountsAsOnAndToggleIsOneMinusState) {
    OptionTable table;
    table.set(kOptionWeapon, 5);
    EXPECT_FALSE(table.is_on(kOptionWeapon));
    EXPECT_EQ(table.toggle(kOptionWeapon), -4);
    EXPECT_FALSE(table.is_on(kOptionWeapon));
    EXPECT_EQ(table.toggle(kOptionWeapon), 5);
    table.set(kOptionIn, 0);
    EXPECT_EQ(table.toggle(kOptionIn), 1);
    EXPECT_TRUE(table.is_on(kOptionIn));
}

TEST(OptionTable, ToggleOfTheExtremesDoesNotOverflow) {
    OptionTable table;
    table.set(kOptionIn, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(table.toggle(kOptionIn), std::numeric_limits<int32_t>::min() + 1);
    EXPECT_FALSE(table.is_on(kOptionIn));
}

TEST(OptionTable, IdsThatAreNotOptionsReadZeroAndStoreNothing) {
    OptionTable table;
    table.set(1020, 1);
    EXPECT_EQ(table.get(1020), 0);
    EXPECT_EQ(table.toggle(1030), 0);
    EXPECT_EQ(table.states(), default_option_states());
}

}  // namespace
}  // namespace quilla

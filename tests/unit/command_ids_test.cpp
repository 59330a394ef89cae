// The position items of the context menu and the position modes they stand for, for any
// number a settings file can give as "Pos=".
#include "app/command_ids.h"

#include <gtest/gtest.h>

#include <limits>

namespace quilla {
namespace {

TEST(PositionCommands, OnlyTheThreeModesHaveAnItem) {
    constexpr auto kMin = std::numeric_limits<int32_t>::min();
    constexpr auto kMax = std::numeric_limits<int32_t>::max();
    struct Case {
        int32_t mode;
        std::optional<int> command;
    };
    const Case cases[] = {
        {1, 1031},
        {2, 1032},
        {3, 1033},
        {0, std::nullopt},
        {4, std::nullopt},
        {-1, std::nullopt},
        {kMax, std::nullopt},  // "Pos=99999999999"
        {kMin, std::nullopt},
        {kMax - 1029, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(position_command_for_mode(c.mode), c.command) << c.mode;
        if (c.command) {
            EXPECT_EQ(position_mode_for_command(*c.command), c.mode);
        }
    }
    EXPECT_EQ(position_mode_for_command(kCommandPositionMenu), std::nullopt);
    EXPECT_EQ(position_mode_for_command(kCommandSlotsUp), std::nullopt);
}

}  // namespace
}  // namespace quilla

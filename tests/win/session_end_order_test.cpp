// The shutdown level the program asks for at start, read back from Windows.
#include "app/session_end_order_win.h"

#include <gtest/gtest.h>

namespace quilla {
namespace {

TEST(SessionEndOrder, AsksToHearOfTheEndBeforeProgramsAtTheDefaultLevel) {
    DWORD level = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetProcessShutdownParameters(&level, &flags));
    // Where every program starts, the host included.
    EXPECT_EQ(level, 0x280u);

    ASSERT_TRUE(ask_to_hear_of_session_end_early());
    ASSERT_TRUE(GetProcessShutdownParameters(&level, &flags));
    // Above the default, below the system's range (0x400 and up).
    EXPECT_EQ(level, 0x300u);
    EXPECT_EQ(flags, 0u) << "Windows may still offer to wait for the program";
}

}  // namespace
}  // namespace quilla

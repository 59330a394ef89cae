// The input poller against the real system state: the pad queries agree with the system's
// own answers, whether or not a pad is attached, and a key pressed with SendInput is seen
// until it is released.
#include "input/input_poller_win.h"

#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include "input/input_codes.h"
#include "tests/support/keys_win.h"
#include "tests/support/wait_win.h"

namespace quilla {
namespace {

using test_support::HeldKey;
using test_support::wait_until;

// Each pad query gives a value exactly when the system's call for pad 0 succeeds, and the
// value the system gave: the same on a machine with a pad and on one without.
TEST(PollInputWin, PadQueriesGiveWhatTheSystemGivesOrNothingOnAnError) {
    const Win32InputState state;
    EXPECT_EQ(state.joystick_count(), joyGetNumDevs());

    JOYCAPSA caps{};
    const bool caps_ok = joyGetDevCapsA(JOYSTICKID1, &caps, sizeof caps) == JOYERR_NOERROR;
    const std::optional<JoyCaps> read_caps = state.joystick_caps();
    ASSERT_EQ(read_caps.has_value(), caps_ok);
    if (caps_ok) {
        EXPECT_EQ(read_caps->x_min, caps.wXmin);
        EXPECT_EQ(read_caps->x_max, caps.wXmax);
        EXPECT_EQ(read_caps->y_min, caps.wYmin);
        EXPECT_EQ(read_caps->y_max, caps.wYmax);
    }

    JOYINFOEX info{};
    info.dwSize = sizeof info;
    info.dwFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNBUTTONS;
    const bool position_ok = joyGetPosEx(JOYSTICKID1, &info) == JOYERR_NOERROR;
    EXPECT_EQ(state.joystick_position().has_value(), position_ok);
}

TEST(PollInputWin, KeyPressedWithSendInputIsSeenUntilReleased) {
    // Other programs on the same desktop may press keys briefly; wait for a quiet moment.
    ASSERT_TRUE(wait_until([] { return poll_input() == kNoInput; })) << "no key down";
    HeldKey f5(VK_F5);
    ASSERT_TRUE(f5.down());
    EXPECT_TRUE(wait_until([] { return poll_input() == VK_F5; })) << "F5 seen down";
    EXPECT_TRUE(Win32InputState().key_down(VK_F5));
    f5.release();
    EXPECT_TRUE(wait_until([] { return poll_input() != VK_F5; })) << "F5 seen up";
    EXPECT_FALSE(Win32InputState().key_down(VK_F5));
}

}  // namespace
}  // namespace quilla

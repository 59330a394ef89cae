// The input poller against the real system state: the pad queries agree with the system's
// own answers, whether or not a pad is attached, and a key pressed with SendInput is seen
// until it is released. A poller's pad calls and clock through the seam: when it asks a
// pad that did not answer again.
#include "input/input_poller_win.h"

#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>

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

// A pad whose calls answer as the test says, on a clock the test sets; the calls made are
// counted.
struct FakePad {
    static inline bool answers = false;
    static inline uint64_t now = 0;
    static inline int calls = 0;
    static UINT WINAPI count() { return 16; }
    static MMRESULT WINAPI caps(UINT_PTR, JOYCAPSA* c, UINT) {
        ++calls;
        c->wXmin = c->wYmin = 0;
        c->wXmax = c->wYmax = 100;
        return answers ? JOYERR_NOERROR : JOYERR_UNPLUGGED;
    }
    static MMRESULT WINAPI position(UINT, JOYINFOEX* info) {
        ++calls;
        info->dwXpos = info->dwYpos = 50;
        info->dwButtons = 1;
        return answers ? JOYERR_NOERROR : JOYERR_UNPLUGGED;
    }
    static ULONGLONG WINAPI tick_count() { return now; }
};

TEST(InputPollerWin, APadThatDidNotAnswerIsAskedAgainAfter2SecondsOrADeviceChange) {
    struct Poll {
        uint64_t at_ms;
        bool device_change;  // reported just before
        bool answers;
        int calls;  // pad calls the poll makes
        int32_t result;
    };
    const Poll polls[] = {
        {1000, false, false, 1, kNoInput},  // caps fails: position is not asked
        {2999, false, false, 0, kNoInput},          {3000, false, false, 1, kNoInput},
        {3001, true, false, 1, kNoInput},           {3002, false, true, 0, kNoInput},
        {3003, true, true, 2, pad_button_code(1)},  // answers: both calls, every poll
        {3004, false, true, 2, pad_button_code(1)},
    };
    ASSERT_TRUE(wait_until([] { return poll_input() == kNoInput; })) << "no key down";
    InputPoller poller({&FakePad::count, &FakePad::caps, &FakePad::position, &FakePad::tick_count});
    for (const Poll& p : polls) {
        SCOPED_TRACE("poll at " + std::to_string(p.at_ms));
        if (p.device_change) {
            note_device_change();
        }
        FakePad::now = p.at_ms;
        FakePad::answers = p.answers;
        FakePad::calls = 0;
        EXPECT_EQ(poller.poll(), p.result);
        EXPECT_EQ(FakePad::calls, p.calls);
    }
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

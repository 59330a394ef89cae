// The input poller against the real system state: the pad queries agree with the system's
// own answers, whether or not a pad is attached, and a key pressed with SendInput is seen
// until it is released. Stand-in keys and pad calls through the seams: keys before the
// pad, which queries a poll makes, and when a poller asks a pad that did not answer again.
#include "input/input_poller_win.h"

#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "input/input_codes.h"
#include "tests/support/fake_clock.h"
#include "tests/support/keys_win.h"
#include "tools/launch/wait_win.h"

namespace quilla {
namespace {

using launch::wait_until;
using test_support::FakeClock;
using test_support::HeldKey;

// Each pad query gives a value exactly when the system's call for pad 0 succeeds, and the
// value the system gave: the same on a machine with a pad and on one without.
TEST(PollInputWin, PadQueriesGiveWhatTheSystemGivesOrNothingOnAnError) {
    EXPECT_EQ(system_calls<JoystickCalls>().count(), joyGetNumDevs());

    JOYCAPSA caps{};
    const bool caps_ok = joyGetDevCapsA(JOYSTICKID1, &caps, sizeof caps) == JOYERR_NOERROR;
    const std::optional<JoyCaps> read_caps = joystick_caps();
    ASSERT_EQ(read_caps.has_value(), caps_ok);
    if (caps_ok) {
        EXPECT_EQ(read_caps->x_min, caps.wXmin);
        EXPECT_EQ(read_caps->x_max, caps.wXmax);
        EXPECT_EQ(read_caps->y_min, caps.wYmin);
        EXPECT_EQ(read_caps->y_max, caps.wYmax);
        EXPECT_EQ(read_caps->has_hat, (caps.wCaps & JOYCAPS_HASPOV) != 0);
    }

    JOYINFOEX info{};
    info.dwSize = sizeof info;
    info.dwFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNBUTTONS;
    const bool position_ok = joyGetPosEx(JOYSTICKID1, &info) == JOYERR_NOERROR;
    EXPECT_EQ(joystick_position(read_caps.value_or(JoyCaps{})).has_value(), position_ok);
}

constexpr JoyCaps kFullRange{0, 65535, 0, 65535};
constexpr JoyPos kCentred{32767, 32767, 0};

// Keys as the test sets them down.
class StandKeys : public InputCalls {
  public:
    explicit StandKeys(std::set<int> keys_down = {}) : down(std::move(keys_down)) {}
    bool key_down(int vk) override { return down.count(vk) != 0; }
    std::set<int> down;
};

// A pad as the test sets it up; a call with nothing to give fails. The calls made are
// counted, and the flags of the last position query kept.
class StandPad : public JoystickCalls {
  public:
    UINT count() override {
        ++count_calls;
        return devices;
    }
    MMRESULT caps(UINT_PTR, JOYCAPSW* c, UINT) override {
        ++caps_calls;
        if (!given_caps) {
            if (change_during_query) {
                note_device_change();
            }
            return JOYERR_UNPLUGGED;
        }
        c->wXmin = given_caps->x_min;
        c->wXmax = given_caps->x_max;
        c->wYmin = given_caps->y_min;
        c->wYmax = given_caps->y_max;
        c->wCaps = given_caps->has_hat ? JOYCAPS_HASPOV : 0;
        return JOYERR_NOERROR;
    }
    MMRESULT position(UINT, JOYINFOEX* info) override {
        ++position_calls;
        flags_asked = info->dwFlags;
        const JoyPos pos = given_position.value_or(JoyPos{});
        info->dwXpos = pos.x;
        info->dwYpos = pos.y;
        info->dwButtons = pos.buttons;
        info->dwPOV = pos.hat;  // asked for or not, as a careless driver might
        if (!given_position && change_during_query) {
            note_device_change();
        }
        return given_position ? JOYERR_NOERROR : JOYERR_UNPLUGGED;
    }
    int queries() const { return caps_calls + position_calls; }

    UINT devices = 16;
    std::optional<JoyCaps> given_caps = kFullRange;
    std::optional<JoyPos> given_position = kCentred;
    bool change_during_query = false;  // each failing query notes a device change while it runs
    int count_calls = 0;
    int caps_calls = 0;
    int position_calls = 0;
    DWORD flags_asked = 0;
};

TEST(PollInputWin, EachKeyIsFoundWithoutAskingThePadOrLeavesItToThePad) {
    for (int vk = 0; vk <= 255; ++vk) {
        StandKeys keys({vk});
        StandPad pad;
        pad.given_position = JoyPos{kCentred.x, kCentred.y, 1u << 4};
        const int32_t code = poll_input(keys, pad);
        if (code == vk) {
            EXPECT_EQ(pad.count_calls, 0) << "pad read although key " << vk << " is down";
        } else {
            EXPECT_EQ(code, 0x105) << "vk " << vk;
        }
    }
}

TEST(PollInputWin, CommonCombinations) {
    struct Case {
        std::set<int> keys;
        uint32_t buttons;
        int32_t expected;
    };
    const Case cases[] = {
        {{17, 'A'}, 0, 17},          // Ctrl+A
        {{13, 32}, 0, 32},           // Enter+Space
        {{'Z', 1}, 0, 1},            // mouse left first
        {{226, 'Q'}, 0, 'Q'},        // letters before 0xE2
        {{'5'}, 1u, '5'},            // a key beats a pad button
        {{18, 16}, 0, 16},           // Alt is never scanned, Shift is
        {{18, 91}, 1u << 4, 0x105},  // only unscanned keys: the pad decides
    };
    for (const Case& c : cases) {
        StandKeys keys(c.keys);
        StandPad pad;
        pad.given_position = JoyPos{kCentred.x, kCentred.y, c.buttons};
        EXPECT_EQ(poll_input(keys, pad), c.expected) << "expected " << c.expected;
    }
}

TEST(PollInputWin, NoPadMeansNoInput) {
    const JoyPos pressed{0, 0, 1u};  // would be button 1 if it were read
    struct Case {
        const char* what;
        uint32_t devices;
        std::optional<JoyCaps> caps;
        std::optional<JoyPos> position;
        int caps_queries;
        int position_queries;
    };
    const Case cases[] = {
        {"no joystick service", 0, kFullRange, pressed, 0, 0},
        {"capabilities fail", 16, std::nullopt, pressed, 1, 0},
        {"position fails", 16, kFullRange, std::nullopt, 1, 1},
    };
    for (const Case& c : cases) {
        StandKeys keys;
        StandPad pad;
        pad.devices = c.devices;
        pad.given_caps = c.caps;
        pad.given_position = c.position;
        EXPECT_EQ(poll_input(keys, pad), kNoInput) << c.what;
        EXPECT_EQ(pad.caps_calls, c.caps_queries) << c.what;
        EXPECT_EQ(pad.position_calls, c.position_queries) << c.what;
    }
}

TEST(PollInputWin, CapabilitiesAreReadOnEveryCall) {
    StandKeys keys;
    StandPad pad;
    pad.given_caps = JoyCaps{0, 100, 0, 100};
    pad.given_position = JoyPos{50, 0, 0};
    EXPECT_EQ(poll_input(keys, pad), kPadUp);
    pad.given_caps = JoyCaps{0, 100, 10, 100};  // the pad was recalibrated
    EXPECT_EQ(poll_input(keys, pad), kNoInput);
    EXPECT_EQ(pad.caps_calls, 2);
}

// The hat is asked for, and read, only when the pad's capabilities name one: a pad
// without one leaves whatever dwPOV holds unread (0 would be up).
TEST(PollInputWin, TheHatIsAskedForOnlyOfAPadWithOne) {
    constexpr DWORD kStick = JOY_RETURNX | JOY_RETURNY | JOY_RETURNBUTTONS;
    // Whether the pad has a hat, where the hat is, the flags asked, the input found.
    const std::tuple<bool, uint32_t, DWORD, int32_t> cases[] = {
        {true, 0, kStick | JOY_RETURNPOV, kPadUp}, {false, 0, kStick, kNoInput}};
    for (const auto& [has_hat, hat, flags, expected] : cases) {
        StandKeys keys;
        StandPad pad;
        pad.given_caps = JoyCaps{0, 65535, 0, 65535, has_hat};
        pad.given_position = JoyPos{32767, 32767, 0, hat};
        EXPECT_EQ(poll_input(keys, pad), expected) << has_hat << " " << hat;
        EXPECT_EQ(pad.flags_asked, flags) << has_hat << " " << hat;
    }
}

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
    ASSERT_TRUE(wait_until([] { return InputPoller().poll() == kNoInput; })) << "no key down";
    StandPad pad;
    FakeClock clock;
    InputPoller poller(pad, clock);
    for (const Poll& p : polls) {
        SCOPED_TRACE("poll at " + std::to_string(p.at_ms));
        if (p.device_change) {
            note_device_change();
        }
        clock.set(p.at_ms);
        pad.given_caps = p.answers ? std::optional<JoyCaps>(JoyCaps{0, 100, 0, 100}) : std::nullopt;
        pad.given_position = p.answers ? std::optional<JoyPos>(JoyPos{50, 50, 1}) : std::nullopt;
        const int queries_before = pad.queries();
        EXPECT_EQ(poller.poll(), p.result);
        EXPECT_EQ(pad.queries() - queries_before, p.calls);
    }
}

// A pad plugged in while a slow query fails: the device change the system reports during
// the query is not taken as seen, so the next poll asks again at once (the clock stands
// still); a failure with no change during it pauses the pad as before. Either query may be
// the one that fails.
TEST(InputPollerWin, ADeviceChangeDuringAFailedQueryMakesTheNextPollAskAgain) {
    struct Poll {
        bool caps_answer;
        bool position_answers;
        bool change_during_query;
        int calls;  // pad calls the poll makes
    };
    struct Case {
        const char* what;
        std::vector<Poll> polls;
    };
    const Case cases[] = {
        {"capabilities fail while the pad is plugged in",
         {{false, false, true, 1}, {false, false, false, 1}, {false, false, false, 0}}},
        {"the position fails while the pad is plugged in",
         {{true, false, true, 2}, {true, false, false, 2}, {true, false, false, 0}}},
        {"capabilities fail with no change", {{false, false, false, 1}, {false, false, false, 0}}},
    };
    ASSERT_TRUE(wait_until([] { return InputPoller().poll() == kNoInput; })) << "no key down";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StandPad pad;
        FakeClock clock;  // stands still
        InputPoller poller(pad, clock);
        for (std::size_t i = 0; i < c.polls.size(); ++i) {
            SCOPED_TRACE("poll " + std::to_string(i));
            const Poll& p = c.polls[i];
            pad.given_caps = p.caps_answer ? std::optional<JoyCaps>(kFullRange) : std::nullopt;
            pad.given_position =
                p.position_answers ? std::optional<JoyPos>(kCentred) : std::nullopt;
            pad.change_during_query = p.change_during_query;
            const int queries_before = pad.queries();
            EXPECT_EQ(poller.poll(), kNoInput);
            EXPECT_EQ(pad.queries() - queries_before, p.calls);
        }
    }
}

TEST(PollInputWin, KeyPressedWithSendInputIsSeenUntilReleased) {
    // Other programs on the same desktop may press keys briefly; wait for a quiet moment.
    ASSERT_TRUE(wait_until([] { return InputPoller().poll() == kNoInput; })) << "no key down";
    HeldKey f5(VK_F5);
    ASSERT_TRUE(f5.down());
    EXPECT_TRUE(wait_until([] { return InputPoller().poll() == VK_F5; })) << "F5 seen down";
    EXPECT_TRUE(system_key_down(VK_F5));
    f5.release();
    EXPECT_TRUE(wait_until([] { return InputPoller().poll() != VK_F5; })) << "F5 seen up";
    EXPECT_FALSE(system_key_down(VK_F5));
}

}  // namespace
}  // namespace quilla

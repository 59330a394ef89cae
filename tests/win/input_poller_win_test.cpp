// The input poller against the real system state under Wine: nothing pressed and no pad
// gives -1, and a key pressed with SendInput is seen until it is released.
#include "input/input_poller_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "input/input_codes.h"
#include "tests/support/test_process_win.h"

namespace quilla {
namespace {

// Polls until `done` holds or the deadline passes; true when it held.
bool wait_until(const std::function<bool()>& done, DWORD timeout_ms = 5000) {
    return test_support::wait_until(done, timeout_ms);
}

bool send_key(WORD vk, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    return SendInput(1, &input, sizeof(input)) == 1;
}

// Presses a key for the lifetime of the guard, releasing it even when a check fails.
class HeldKey {
  public:
    explicit HeldKey(WORD vk) : vk_(vk), sent_(send_key(vk, true)) {}
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;
    ~HeldKey() { release(); }
    bool sent() const { return sent_; }
    bool release() {
        if (!sent_) {
            return true;
        }
        sent_ = false;
        return send_key(vk_, false);
    }

  private:
    WORD vk_;
    bool sent_;
};

TEST(PollInputWin, NothingPressedAndNoPadGivesNoInput) {
    // Other programs on the same desktop may press keys briefly; wait for a quiet moment.
    EXPECT_TRUE(wait_until([] { return poll_input() == kNoInput; }));
}

TEST(PollInputWin, NoPadAttachedReadsAsNoPad) {
    const Win32InputState state;
    // With no pad attached one of the pad queries fails, so the pad part of the scan is
    // skipped.
    const bool pad_present = state.joystick_count() != 0 && state.joystick_caps().has_value() &&
                             state.joystick_position().has_value();
    EXPECT_FALSE(pad_present);
}

TEST(PollInputWin, KeyPressedWithSendInputIsSeenUntilReleased) {
    ASSERT_TRUE(wait_until([] { return poll_input() == kNoInput; }));
    HeldKey f5(VK_F5);
    ASSERT_TRUE(f5.sent());
    EXPECT_TRUE(wait_until([] { return poll_input() == VK_F5; }));
    EXPECT_TRUE(Win32InputState().key_down(VK_F5));
    ASSERT_TRUE(f5.release());
    EXPECT_TRUE(wait_until([] { return poll_input() != VK_F5; }));
    EXPECT_FALSE(Win32InputState().key_down(VK_F5));
}

}  // namespace
}  // namespace quilla

// Keyboard input for tests, sent through SendInput as a user's key presses arrive: one key
// event, and a key held down for the length of a scope.
#pragma once

#include <windows.h>

namespace quilla::test_support {

// One key event of the virtual key (down, or up with KEYEVENTF_KEYUP); false when the
// system refused it.
inline bool send_key(WORD virtual_key, DWORD flags = 0) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.dwFlags = flags;
    return SendInput(1, &input, sizeof input) == 1;
}

// A key held down until release() or the end of the scope, so that a failing test never
// leaves the key down for the tests after it.
class HeldKey {
  public:
    explicit HeldKey(WORD virtual_key) : key_(virtual_key), down_(send_key(virtual_key)) {}
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;
    ~HeldKey() { release(); }

    bool down() const { return down_; }
    void release() {
        if (down_) {
            send_key(key_, KEYEVENTF_KEYUP);
            down_ = false;
        }
    }

  private:
    WORD key_;
    bool down_;
};

}  // namespace quilla::test_support

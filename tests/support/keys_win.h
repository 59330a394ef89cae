// Keyboard and mouse input for tests, sent through SendInput as a user's key presses and
// clicks arrive: one key event, a key held down for the length of a scope, a click on a
// list's row.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "tools/launch/wait_win.h"

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

// Puts the cursor at a point of the screen and returns once the system says it is there.
inline bool move_cursor_to(POINT at) {
    return SetCursorPos(at.x, at.y) && launch::wait_until([&] {
               POINT now{};
               return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
           });
}

// A click of the left button on row (counted from the top, the rows as tall as a line of
// the list's font) of a report list view of any process, below its header, once the
// cursor is there; false when the system refused it.
inline bool click_list_row(HWND list, int row) {
    RECT header{};
    GetWindowRect(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), &header);
    const LRESULT spacing = SendMessageW(list, LVM_GETITEMSPACING, TRUE, 0);
    const int row_height = HIWORD(spacing) > 0 ? HIWORD(spacing) : 16;
    RECT frame{};
    GetWindowRect(list, &frame);
    if (!move_cursor_to({frame.left + 20, header.bottom + row * row_height + row_height / 2})) {
        return false;
    }
    INPUT clicks[2]{};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, clicks, sizeof(INPUT)) == 2;
}

}  // namespace quilla::test_support

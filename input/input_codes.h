// Input codes: one integer for a keyboard key, mouse button, pad button or pad direction,
// and the display name the configuration dialog shows for each.
#pragma once

#include <cstdint>
#include <string>

namespace quilla {

// The poller's result when nothing it scans is down.
inline constexpr int32_t kNoInput = -1;
// The hot key's default; the poller never produces it.
inline constexpr int32_t kNoKey = 0;

// Pad directions.
inline constexpr int32_t kPadUp = 0x133;
inline constexpr int32_t kPadDown = 0x134;
inline constexpr int32_t kPadLeft = 0x135;
inline constexpr int32_t kPadRight = 0x136;

// Pad buttons are numbered 1 to 32 (button 1 is bit 0 of the joystick's button mask).
inline constexpr int kPadButtonCount = 32;

// The code of pad button `button` (1 to 32): the button number's decimal digits read as
// hexadecimal digits, above 0x100. Button 9 is 0x109, button 10 is 0x110.
constexpr int32_t pad_button_code(int button) noexcept {
    return 0x100 + 16 * (button / 10) + button % 10;
}

// The Shift-JIS display name of an input code, or "" for a code that has none.
// A constant-time lookup without state; safe from any thread.
std::string input_code_name(int32_t code);

}  // namespace quilla

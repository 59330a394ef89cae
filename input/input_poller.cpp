// The scan over the key codes in order and the decoding of the pad's buttons, axes and hat.
#include "input/input_poller.h"

#include "input/input_codes.h"

namespace quilla {
namespace {

// Single keys first, in this order: mouse left and right, Space, Enter, Ctrl, Shift, the
// four arrows, Tab, BackSpace, Esc.
constexpr int kSingleKeys[] = {1, 2, 32, 13, 17, 16, 37, 38, 39, 40, 9, 8, 27};

struct KeyRange {
    int first;
    int last;
};

// Then these runs, each ascending: digits, letters, numeric pad and F1-F24, the
// punctuation keys 0xBA-0xC1 and 0xDB-0xDF, and 0xE2.
constexpr KeyRange kKeyRanges[] = {{48, 57},   {65, 90},   {96, 135},
                                   {186, 193}, {219, 223}, {226, 226}};

// The hat's four straight directions as the stick's; a diagonal or a centred hat is none.
int32_t hat_direction(uint32_t hat) noexcept {
    switch (hat) {
        case 0:
            return kPadUp;
        case 9000:
            return kPadRight;
        case 18000:
            return kPadDown;
        case 27000:
            return kPadLeft;
        default:
            return kNoInput;
    }
}

}  // namespace

int32_t first_key_down(InputCalls& calls) {
    for (int vk : kSingleKeys) {
        if (calls.key_down(vk)) {
            return vk;
        }
    }
    for (const KeyRange& range : kKeyRanges) {
        for (int vk = range.first; vk <= range.last; ++vk) {
            if (calls.key_down(vk)) {
                return vk;
            }
        }
    }
    return kNoInput;
}

int32_t decode_pad(const JoyCaps& caps, const JoyPos& pos) noexcept {
    for (int bit = 0; bit < kPadButtonCount; ++bit) {
        if ((pos.buttons >> bit) & 1u) {
            return pad_button_code(bit + 1);
        }
    }
    if (pos.y == caps.y_min) {
        return kPadUp;
    }
    if (pos.y == caps.y_max) {
        return kPadDown;
    }
    if (pos.x == caps.x_min) {
        return kPadLeft;
    }
    if (pos.x == caps.x_max) {
        return kPadRight;
    }
    return hat_direction(pos.hat);
}

}  // namespace quilla

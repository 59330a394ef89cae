// Win32 side of the input poller: GetAsyncKeyState for keys and mouse buttons, winmm's
// joystick calls for pad 0.
#include "input/input_poller_win.h"

#include <windows.h>
#include <mmsystem.h>

namespace quilla {
namespace {

constexpr UINT kJoystickId = JOYSTICKID1;
constexpr DWORD kPositionFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNBUTTONS;

}  // namespace

bool Win32InputState::key_down(int vk) const {
    // Any bit of the high byte; in practice 0x8000, "down now". The low "pressed since the
    // last query" bit is ignored.
    const auto state = static_cast<uint16_t>(GetAsyncKeyState(vk));
    return (state & 0xFF00u) != 0;
}

uint32_t Win32InputState::joystick_count() const {
    return joyGetNumDevs();
}

std::optional<JoyCaps> Win32InputState::joystick_caps() const {
    JOYCAPSA caps{};
    if (joyGetDevCapsA(kJoystickId, &caps, sizeof(caps)) != JOYERR_NOERROR) {
        return std::nullopt;
    }
    return JoyCaps{caps.wXmin, caps.wXmax, caps.wYmin, caps.wYmax};
}

std::optional<JoyPos> Win32InputState::joystick_position() const {
    JOYINFOEX info{};
    info.dwSize = sizeof(info);
    info.dwFlags = kPositionFlags;
    if (joyGetPosEx(kJoystickId, &info) != JOYERR_NOERROR) {
        return std::nullopt;
    }
    return JoyPos{info.dwXpos, info.dwYpos, info.dwButtons};
}

int32_t poll_input() {
    const Win32InputState state;
    return poll_input(state);
}

}  // namespace quilla

// Win32 side of the input poller: GetAsyncKeyState for keys and mouse buttons, winmm's
// joystick calls for pad 0, and the pause after a pad that did not answer.
#include "input/input_poller_win.h"

#include <atomic>

#include "input/input_codes.h"

namespace quilla {
namespace {

constexpr UINT kJoystickId = JOYSTICKID1;
constexpr DWORD kPositionFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNBUTTONS;

std::atomic<uint32_t>& device_changes() {
    static std::atomic<uint32_t> changes{0};  // trivially destructible: safe for the worker
    return changes;
}

}  // namespace

void note_device_change() noexcept {
    device_changes().fetch_add(1);
}

uint32_t device_change_count() noexcept {
    return device_changes().load();
}

bool Win32InputState::key_down(int vk) const {
    // Any bit of the high byte; in practice 0x8000, "down now". The low "pressed since the
    // last query" bit is ignored.
    const auto state = static_cast<uint16_t>(GetAsyncKeyState(vk));
    return (state & 0xFF00u) != 0;
}

uint32_t Win32InputState::joystick_count() const {
    return calls_.count();
}

bool Win32InputState::may_ask() const noexcept {
    return !retry_ || retry_->may_ask(calls_.tick_count(), device_change_count());
}

void Win32InputState::answered(bool ok) const noexcept {
    if (retry_) {
        retry_->answered(ok, calls_.tick_count(), device_change_count());
    }
}

std::optional<JoyCaps> Win32InputState::joystick_caps() const {
    if (!may_ask()) {
        return std::nullopt;
    }
    JOYCAPSA caps{};
    if (calls_.caps(kJoystickId, &caps, sizeof(caps)) != JOYERR_NOERROR) {
        answered(false);
        return std::nullopt;
    }
    return JoyCaps{caps.wXmin, caps.wXmax, caps.wYmin, caps.wYmax};
}

std::optional<JoyPos> Win32InputState::joystick_position() const {
    if (!may_ask()) {
        return std::nullopt;
    }
    JOYINFOEX info{};
    info.dwSize = sizeof(info);
    info.dwFlags = kPositionFlags;
    const bool ok = calls_.position(kJoystickId, &info) == JOYERR_NOERROR;
    answered(ok);
    if (!ok) {
        return std::nullopt;
    }
    return JoyPos{info.dwXpos, info.dwYpos, info.dwButtons};
}

int32_t InputPoller::poll() noexcept {
    try {
        const Win32InputState state(calls_, &retry_);
        return poll_input(state);
    } catch (...) {
        return kNoInput;
    }
}

int32_t poll_input() {
    const Win32InputState state;
    return poll_input(state);
}

}  // namespace quilla

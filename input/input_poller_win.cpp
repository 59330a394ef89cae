// GetAsyncKeyState, joyGetDevCapsW and joyGetPosEx, asked only when the pad's pause allows.
#include "input/input_poller_win.h"

#include <atomic>

#include "base/trace_win.h"
#include "input/input_codes.h"

namespace quilla {
namespace {

constexpr UINT kJoystickId = JOYSTICKID1;
constexpr DWORD kPositionFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNBUTTONS;

std::atomic<uint32_t>& device_changes() {
    static std::atomic<uint32_t> changes{0};  // trivially destructible: safe for the worker
    return changes;
}

bool may_ask(const JoystickCalls& calls, const PadRetry* retry) noexcept {
    return !retry || retry->may_ask(calls.tick_count(), device_change_count());
}

// devices_before is the device-change count taken before the query: a change the system
// reports while a slow query runs is then still unseen, and the next poll asks again.
void answered(bool ok, const JoystickCalls& calls, PadRetry* retry,
              uint32_t devices_before) noexcept {
    if (retry) {
        retry->answered(ok, calls.tick_count(), devices_before);
    }
}

constexpr InputCalls kSystemKeys = {&system_key_down};

}  // namespace

void note_device_change() noexcept {
    device_changes().fetch_add(1);
}

uint32_t device_change_count() noexcept {
    return device_changes().load();
}

bool system_key_down(int vk) noexcept {
    // Any bit of the high byte; in practice 0x8000, "down now". The low "pressed since the
    // last query" bit is ignored.
    const auto state = static_cast<uint16_t>(GetAsyncKeyState(vk));
    return (state & 0xFF00u) != 0;
}

std::optional<JoyCaps> joystick_caps(const JoystickCalls& calls, PadRetry* retry) noexcept {
    if (!may_ask(calls, retry)) {
        return std::nullopt;
    }
    const uint32_t devices_before = device_change_count();
    JOYCAPSW caps{};
    if (calls.caps(kJoystickId, &caps, sizeof(caps)) != JOYERR_NOERROR) {
        answered(false, calls, retry, devices_before);
        return std::nullopt;
    }
    return JoyCaps{caps.wXmin, caps.wXmax, caps.wYmin, caps.wYmax};
}

std::optional<JoyPos> joystick_position(const JoystickCalls& calls, PadRetry* retry) noexcept {
    if (!may_ask(calls, retry)) {
        return std::nullopt;
    }
    const uint32_t devices_before = device_change_count();
    JOYINFOEX info{};
    info.dwSize = sizeof(info);
    info.dwFlags = kPositionFlags;
    const bool ok = calls.position(kJoystickId, &info) == JOYERR_NOERROR;
    answered(ok, calls, retry, devices_before);
    if (!ok) {
        return std::nullopt;
    }
    return JoyPos{info.dwXpos, info.dwYpos, info.dwButtons};
}

int32_t poll_input(const InputCalls& keys, const JoystickCalls& pad, PadRetry* retry) {
    const int32_t key = first_key_down(keys);
    if (key != kNoInput) {
        return key;
    }
    if (pad.count() == 0) {
        return kNoInput;
    }
    const std::optional<JoyCaps> caps = joystick_caps(pad, retry);
    if (!caps) {
        return kNoInput;
    }
    const std::optional<JoyPos> pos = joystick_position(pad, retry);
    return pos ? decode_pad(*caps, *pos) : kNoInput;
}

int32_t InputPoller::poll() noexcept {
    try {
        return poll_input(kSystemKeys, calls_, &retry_);
    } catch (...) {
        trace_exception("InputPoller::poll");
        return kNoInput;
    }
}

}  // namespace quilla

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

bool may_ask(const PadRetry* retry, Clock& clock) noexcept {
    return !retry || retry->may_ask(clock.now_ms(), device_change_count());
}

// devices_before is the device-change count taken before the query: a change the system
// reports while a slow query runs is then still unseen, and the next poll asks again.
void answered(bool ok, PadRetry* retry, Clock& clock, uint32_t devices_before) noexcept {
    if (retry) {
        retry->answered(ok, clock.now_ms(), devices_before);
    }
}

// The system's key state.
class SystemKeys final : public InputCalls {
  public:
    bool key_down(int vk) override { return system_key_down(vk); }
};

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

std::optional<JoyCaps> joystick_caps(JoystickCalls& calls, PadRetry* retry, Clock& clock) noexcept {
    if (!may_ask(retry, clock)) {
        return std::nullopt;
    }
    const uint32_t devices_before = device_change_count();
    JOYCAPSW caps{};
    if (calls.caps(kJoystickId, &caps, sizeof(caps)) != JOYERR_NOERROR) {
        answered(false, retry, clock, devices_before);
        return std::nullopt;
    }
    return JoyCaps{caps.wXmin, caps.wXmax, caps.wYmin, caps.wYmax,
                   (caps.wCaps & JOYCAPS_HASPOV) != 0};
}

std::optional<JoyPos> joystick_position(const JoyCaps& caps, JoystickCalls& calls, PadRetry* retry,
                                        Clock& clock) noexcept {
    if (!may_ask(retry, clock)) {
        return std::nullopt;
    }
    const uint32_t devices_before = device_change_count();
    JOYINFOEX info{};
    info.dwSize = sizeof(info);
    // The hat (JOY_RETURNPOV: hundredths of a degree, JOY_POVCENTERED when centred) is
    // asked only of a pad whose capabilities name one.
    info.dwFlags = caps.has_hat ? kPositionFlags | JOY_RETURNPOV : kPositionFlags;
    const bool ok = calls.position(kJoystickId, &info) == JOYERR_NOERROR;
    answered(ok, retry, clock, devices_before);
    if (!ok) {
        return std::nullopt;
    }
    // Without the hat asked for, dwPOV holds nothing the pad reported.
    return JoyPos{info.dwXpos, info.dwYpos, info.dwButtons,
                  caps.has_hat ? info.dwPOV : kHatCentred};
}

int32_t poll_input(InputCalls& keys, JoystickCalls& pad, PadRetry* retry, Clock& clock) {
    const int32_t key = first_key_down(keys);
    if (key != kNoInput) {
        return key;
    }
    if (pad.count() == 0) {
        return kNoInput;
    }
    const std::optional<JoyCaps> caps = joystick_caps(pad, retry, clock);
    if (!caps) {
        return kNoInput;
    }
    const std::optional<JoyPos> pos = joystick_position(*caps, pad, retry, clock);
    return pos ? decode_pad(*caps, *pos) : kNoInput;
}

int32_t InputPoller::poll() noexcept {
    try {
        return poll_input(system_calls<SystemKeys>(), calls_, &retry_, clock_);
    } catch (...) {
        trace_exception();
        return kNoInput;
    }
}

}  // namespace quilla

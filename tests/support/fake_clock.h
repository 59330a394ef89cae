// A clock for tests whose time moves only when the test moves it or the code under test
// pauses: a budget runs out on the first read after enough has been added, never because
// the machine was slow.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "base/clock.h"

namespace quilla::test_support {

class FakeClock : public Clock {
  public:
    explicit FakeClock(uint64_t start_ms = 1000) noexcept : now_(start_ms) {}

    uint64_t now_ms() override { return now_.load(); }

    // Runs on_pause first (when set), then moves the time on by ms.
    void pause(uint32_t ms) override {
        ++pauses_;
        if (on_pause) {
            on_pause(ms);
        }
        now_ += ms;
    }

    void advance(uint64_t ms) noexcept { now_ += ms; }
    void set(uint64_t now) noexcept { now_ = now; }
    int pauses() const noexcept { return pauses_.load(); }

    // What a pause does before the time moves on: note what it sees, hold the code under
    // test until the test lets it go, or sleep for real where another process must act.
    std::function<void(uint32_t ms)> on_pause;

  private:
    std::atomic<uint64_t> now_;
    std::atomic<int> pauses_{0};
};

}  // namespace quilla::test_support

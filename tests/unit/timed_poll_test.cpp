// Polling within a bound on elapsed time, on a clock that pauses move by a fixed step.
#include "host/timed_poll.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/support/fake_clock.h"

namespace quilla {
namespace {

// A clock on which each pause lasts pause_ms, however short the pause asked for.
class SteppedClock : public test_support::FakeClock {
  public:
    SteppedClock(uint64_t start_ms, uint32_t pause_ms) : FakeClock(start_ms), step_(pause_ms) {}
    void pause(uint32_t) override { FakeClock::pause(step_); }

  private:
    uint32_t step_;
};

TEST(PollWithin, StopsWhenTheTimeIsUpHoweverLongEachPauseLasts) {
    constexpr uint64_t kNever = 0;
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    struct Case {
        const char* what;
        uint64_t start_ms;
        uint64_t pause_ms;
        uint64_t found_at_poll;  // kNever: never found
        int polls;
        bool found;
    } cases[] = {
        {"1 ms pauses, never found", 5000, 1, kNever, 100, false},
        {"scheduler-tick pauses, never found", 5000, 16, kNever, 7, false},
        {"one pause longer than the bound", 5000, 250, kNever, 1, false},
        {"found on the third poll", 5000, 1, 3, 3, true},
        {"found on the poll at the bound", 5000, 16, 7, 7, true},
        {"found on the first poll of a long pause", 5000, 250, 1, 1, true},
        {"a clock that wraps during the wait", kMax - 40, 1, kNever, 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SteppedClock clock(c.start_ms, static_cast<uint32_t>(c.pause_ms));
        int polls = 0;
        const bool found = poll_within(100, clock, [&] {
            ++polls;
            return c.found_at_poll != kNever && static_cast<uint64_t>(polls) == c.found_at_poll;
        });
        EXPECT_EQ(found, c.found);
        EXPECT_EQ(polls, c.polls);
    }
}

}  // namespace
}  // namespace quilla

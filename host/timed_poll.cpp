// The poll loop: pause, ask, until found or the budget has passed.
#include "host/timed_poll.h"

namespace quilla {

bool poll_within(uint64_t budget_ms, Clock& clock, const std::function<bool()>& found) {
    const uint64_t start = clock.now_ms();
    for (;;) {
        clock.pause(kPollPauseMs);
        if (found()) {
            return true;
        }
        if (clock.now_ms() - start >= budget_ms) {  // unsigned: a clock that wraps still counts
            return false;
        }
    }
}

}  // namespace quilla

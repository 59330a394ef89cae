// Waiting on a handle while serving sent messages: the object is looked at even when the
// time is already up, and an unsignalled one is waited for until the end. (That sent
// messages are served and posted ones stay queued is shown through the update check.)
#include "base/message_wait_win.h"

#include <gtest/gtest.h>

#include "base/clock_win.h"
#include "base/handles_win.h"

namespace quilla {
namespace {

TEST(MessageWait, LooksAtTheObjectOnceEvenWhenTheTimeIsUp) {
    struct Case {
        const char* what;
        BOOL set;
        uint64_t from_now;
        bool signalled;
    } cases[] = {
        {"set, time up", TRUE, 0, true},
        {"not set, time up", FALSE, 0, false},
        {"not set, 50 ms", FALSE, 50, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UniqueKernelHandle event(CreateEventA(nullptr, TRUE, c.set, nullptr));
        ASSERT_TRUE(event);
        Clock& clock = system_clock();
        const uint64_t start = clock.now_ms();
        EXPECT_EQ(wait_serving_sent_messages(event.get(), clock, start + c.from_now), c.signalled);
        if (c.from_now > 0) {  // not before its end, within a tick of the clock
            EXPECT_GE(clock.now_ms() - start + 16, c.from_now);
        }
    }
}

}  // namespace
}  // namespace quilla

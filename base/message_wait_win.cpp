// Waits in slices of at most kQueueLookMs, serving the messages sent between the slices.
#include "base/message_wait_win.h"

#include <algorithm>

namespace quilla {
namespace {

// Windows counts a window whose thread has not looked at its message queue for 5 seconds
// as hung (and may replace it with a ghost); a wait looks at least this often.
constexpr uint64_t kQueueLookMs = 1000;

// Serves the messages other threads have sent to this thread; removes nothing else from
// the queue.
void serve_sent_messages() noexcept {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

bool wait_serving_sent_messages(HANDLE object, Clock& clock, uint64_t end,
                                MessageWaitCalls& calls) noexcept {
    for (;;) {
        serve_sent_messages();
        const uint64_t now = clock.now_ms();
        const uint64_t left = now >= end ? 0 : end - now;
        const uint64_t slice = std::min(left, kQueueLookMs);
        const DWORD woke = calls.wait_for_object_or_sent_message(object, static_cast<DWORD>(slice));
        if (woke == WAIT_OBJECT_0) {
            return true;
        }
        if (woke == WAIT_TIMEOUT ? slice == left : woke != WAIT_OBJECT_0 + 1) {
            return false;  // the time ran out, or the wait failed
        }
    }
}

}  // namespace quilla

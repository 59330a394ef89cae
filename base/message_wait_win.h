// Waiting on a handle without blocking the windows of the waiting thread: while it waits,
// the thread serves the messages other threads send to it (a window call made on another
// thread, such as the render worker's UpdateLayeredWindow on the overlay, waits for them),
// and it looks at its queue at least once a second, so Windows never takes its windows
// for hung. Posted messages and input stay queued for the thread's own loop.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/clock.h"
#include "base/seam.h"

namespace quilla {

// The wait itself; tests pass their own, which moves their clock instead of waiting.
class MessageWaitCalls {
  public:
    virtual ~MessageWaitCalls() = default;
    // Waits at most ms for the object or for a message sent to this thread.
    virtual DWORD wait_for_object_or_sent_message(HANDLE object, DWORD ms) {
        return MsgWaitForMultipleObjects(1, &object, FALSE, ms, QS_SENDMESSAGE);
    }
};

// Waits until the object is signalled or the clock's time reaches end, serving sent
// messages meanwhile. The object is looked at at least once, even when end has passed.
// True when it was signalled; false when the time ran out or the wait failed.
bool wait_serving_sent_messages(
    HANDLE object, Clock& clock, uint64_t end,
    MessageWaitCalls& calls = system_calls<MessageWaitCalls>()) noexcept;

}  // namespace quilla

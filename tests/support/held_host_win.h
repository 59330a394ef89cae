// A stand-in host held by the test: its thread (started with hold_args()) or its answer
// to a read (started with --held-inventory), until the test lets it go.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "base/code_page_win.h"
#include "base/handles_win.h"
#include "tools/launch/wait_win.h"
#include "tools/standin_host/inventory_window.h"

namespace quilla::test_support {

// A named event that holds a stand-in started with hold_args(): once its window is shown,
// its thread reads no messages (a host busy loading, or stuck) until release(), or the end
// of the object.
class HostHold {
  public:
    HostHold() {
        static std::atomic<unsigned> counter{0};
        name_ = "QuillaTestHostHold-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(counter++);
        event_.reset(CreateEventW(nullptr, TRUE, FALSE, widen(name_).c_str()));
    }
    HostHold(const HostHold&) = delete;
    HostHold& operator=(const HostHold&) = delete;
    ~HostHold() { release(); }

    bool ok() const noexcept { return static_cast<bool>(event_); }
    std::vector<std::string> hold_args() const { return {"--hold", name_}; }
    void release() noexcept { SetEvent(event_.get()); }

  private:
    std::string name_;
    UniqueKernelHandle event_;
};

// A stand-in started with --held-inventory keeps its answer to the first query of a read
// (and its window thread waiting) until the test lets it go: a test sees the read begin,
// sees what must happen during it, and only then releases the stand-in, so no timer
// decides whether the two overlapped. Lets go when it goes, so a failed check never leaves
// the stand-in waiting.
class HeldInventory {
  public:
    explicit HeldInventory(DWORD host_process_id)
        : query_(
              OpenEventA(SYNCHRONIZE, FALSE, standin::query_event_name(host_process_id).c_str())),
          release_(OpenEventA(EVENT_MODIFY_STATE, FALSE,
                              standin::release_event_name(host_process_id).c_str())) {}
    HeldInventory(const HeldInventory&) = delete;
    HeldInventory& operator=(const HeldInventory&) = delete;
    ~HeldInventory() { release(); }

    // Whether the stand-in's events were found (it runs with --held-inventory).
    bool ok() const noexcept { return query_ && release_; }

    // Waits, with the usual deadline, until a reader has asked for the count: it waits for
    // the answer from then on.
    bool wait_for_read() const noexcept {
        return WaitForSingleObject(query_.get(), launch::deadline_ms(launch::kUsualWaitMs)) ==
               WAIT_OBJECT_0;
    }

    // Whether the stand-in is still keeping its answer to a read.
    bool holding() const noexcept { return WaitForSingleObject(query_.get(), 0) == WAIT_OBJECT_0; }

    // Lets the stand-in answer this and every later query.
    void release() const noexcept {
        if (release_) {
            SetEvent(release_.get());
        }
    }

  private:
    UniqueKernelHandle query_;
    UniqueKernelHandle release_;
};

}  // namespace quilla::test_support

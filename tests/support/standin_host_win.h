// Starting the stand-in host for tests and the measuring tools: in a given folder, with
// given arguments, waiting (with the usual deadline) for its main window; and holding its
// thread until the test lets it go.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_process_win.h"

namespace quilla::test_support {

struct StandinHost {
    std::unique_ptr<ChildProcess> process;  // null when it did not start
    HWND main = nullptr;                    // null when its main window did not appear
    std::string error;                      // why not, when main is null
};

inline StandinHost start_standin_host(const std::string& dir, const std::vector<std::string>& args,
                                      const std::string& exe = standin_host_path()) {
    StandinHost host;
    host.process = std::make_unique<ChildProcess>(exe, args, dir);
    if (!host.process->started()) {
        host.error = host.process->error();
        return host;
    }
    host.main = host.process->wait_for_main_window();
    DWORD code = 0;
    if (!host.main) {
        host.error = host.process->has_exited(&code)
                         ? "the stand-in host exited with " + std::to_string(code)
                         : std::string("the stand-in host's main window did not appear");
    }
    return host;
}

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

}  // namespace quilla::test_support

// Starting the stand-in host for the tests and the measuring tools: in a given folder,
// with given arguments, waiting (with the usual deadline) for its main window.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/launch/process_win.h"
#include "tools/launch/wait_win.h"

namespace quilla::launch {

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

}  // namespace quilla::launch

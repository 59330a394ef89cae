// The measuring tools' shared steps beyond tools/launch: the stand-in host started until it
// shows the whole generated inventory, and a close's exit code.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "tools/launch/overlay_process_win.h"
#include "tools/launch/process_win.h"
#include "tools/measure/sample_files.h"

namespace quilla::measure {

// Waits (with the usual deadline) until the stand-in's list box holds every line of the
// inventory.
inline bool wait_for_inventory(const launch::ChildProcess& host) {
    return launch::wait_until(
        [&] {
            HWND list = host.find_inventory_window();
            DWORD_PTR count = 0;
            return list &&
                   SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &count) &&
                   count == kInventoryLines;
        },
        launch::kUsualWaitMs, host.process());
}

// The stand-in host at exe, started in dir with inventory.txt there, once it shows the
// whole inventory; null when it did not.
inline std::unique_ptr<launch::ChildProcess> start_host(const std::string& exe,
                                                        const std::string& dir) {
    launch::StandinHost host =
        launch::start_standin_host(dir, {"--inventory", "inventory.txt"}, exe);
    if (!host.main || !wait_for_inventory(*host.process)) {
        return nullptr;
    }
    return std::move(host.process);
}

// The exit code of a closed overlay, or -1 when it did not exit in time.
inline long exit_code_of(const launch::Closed& closed) {
    return closed.exit_code ? static_cast<long>(*closed.exit_code) : -1;
}

}  // namespace quilla::measure

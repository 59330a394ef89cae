// The stand-in host's inventory window: a top-level list box showing the lines of the
// inventory file, refilled whenever the file's contents change.
#pragma once

#include <windows.h>

#include "base/handles_win.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla::standin {

// The inventory file's text cut into list lines: CR LF or LF ends a line, a last line
// without an ending still counts, and nothing else is changed (long lines stay whole).
std::vector<std::string> split_inventory_lines(std::string_view text);

// The name of the event (manual reset) that a slow or held stand-in with this process id
// holds signalled while it answers LB_GETCOUNT, the first query of a read of its
// inventory, so that a test knows that a reader has begun a read and is waiting for the
// answer.
inline std::string query_event_name(DWORD process_id) {
    return "QuillaStandinQuery-" + std::to_string(process_id);
}

// The name of the event (manual reset) that lets a held stand-in with this process id
// answer: until a test sets it, the stand-in keeps its answer to LB_GETCOUNT, its window
// thread waiting, as a host busy for as long as the test needs; from then on it answers
// every query at once.
inline std::string release_event_name(DWORD process_id) {
    return "QuillaStandinRelease-" + std::to_string(process_id);
}

class InventoryWindow {
  public:
    // reply_delay_ms > 0 makes the window slow to answer the list-box queries that the
    // overlay sends (a busy host), for testing the overlay's shutdown bound; held makes it
    // keep its answer to LB_GETCOUNT until the event named by release_event_name is set.
    // Either way the event named by query_event_name is signalled while it answers
    // LB_GETCOUNT.
    InventoryWindow(std::string path, int32_t reply_delay_ms, bool held);
    InventoryWindow(const InventoryWindow&) = delete;
    InventoryWindow& operator=(const InventoryWindow&) = delete;
    ~InventoryWindow();

    const std::string& path() const noexcept { return path_; }
    bool is_open() const noexcept { return static_cast<bool>(window_); }

    // Opens the window at the given outer rectangle, owned by owner, without activating
    // it. Does nothing when it is already open.
    void open(HWND owner, HINSTANCE instance, const RECT& placement, HFONT font) noexcept;

    // Reads the inventory file again and refills an open window when its contents changed.
    void poll_file() noexcept;

  private:
    static LRESULT CALLBACK subclass_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    LRESULT handle(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) noexcept;
    void fill() noexcept;

    std::string path_;
    std::optional<std::string> contents_;
    std::vector<std::string> lines_;
    UniqueWindow window_;
    WNDPROC list_box_proc_ = nullptr;
    int32_t reply_delay_ms_ = 0;
    UniqueKernelHandle answering_;  // the query event; null unless slow or held
    UniqueKernelHandle released_;   // the release event; null unless held
};

}  // namespace quilla::standin

// Answering the dialog boxes ("#32770": message boxes, the colour chooser) that one
// process opens, from a thread of the test's own while the test's thread is held by the
// modal box: what each box showed, and a button pressed in it.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/control_text_win.h"
#include "tools/launch/wait_win.h"

namespace quilla::test_support {

struct SeenBox {
    HWND box = nullptr;
    std::string caption;
    std::string text;
    std::wstring wide_text;  // the text as the box holds it, letters outside code page 932 too
    HWND owner = nullptr;
    std::string buttons;  // "Y", "N", "O" for each of Yes, No and OK the box has
    ULONGLONG shown_at = 0;
};

// While it lives, presses button in every visible dialog box of the process process_id
// (and of no other process), once each, and records what each box showed.
class BoxAnswerer {
  public:
    BoxAnswerer(DWORD process_id, int button)
        : thread_([this, process_id, button] {
              while (!stop_) {
                  HWND box = nullptr;
                  launch::wait_until([&] { return stop_ || (box = visible_box_of(process_id)); },
                                     launch::kUsualWaitMs);
                  if (box && !stop_) {
                      answer(box, button);
                  }
              }
          }) {}
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    ~BoxAnswerer() {
        stop_ = true;
        thread_.join();
    }

    std::vector<SeenBox> seen() const {
        std::lock_guard lock(mutex_);
        return seen_;
    }

  private:
    static HWND visible_box_of(DWORD process_id) {
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr));) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == process_id && IsWindowVisible(w)) {
                return w;
            }
        }
        return nullptr;
    }

    void answer(HWND box, int button) {
        SeenBox seen;
        seen.box = box;
        seen.shown_at = GetTickCount64();
        seen.caption = control_text(box);
        seen.owner = GetWindow(box, GW_OWNER);
        for (HWND child = nullptr; (child = FindWindowExA(box, child, "Static", nullptr));) {
            seen.text += control_text(child);
            seen.wide_text += control_wide_text(child);
        }
        for (auto [id, name] : {std::pair{IDYES, "Y"}, {IDNO, "N"}, {IDOK, "O"}}) {
            seen.buttons += GetDlgItem(box, id) ? name : "";
        }
        {
            std::lock_guard lock(mutex_);
            seen_.push_back(seen);
        }
        PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
        launch::wait_until([&] { return !IsWindow(box) || !IsWindowVisible(box); });
    }

    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<SeenBox> seen_;
    std::thread thread_;
};

// Runs show, which makes the process process_id open a dialog box, presses button in the
// first box it opens and returns what that box showed (box null when none opened within
// the usual deadline).
template <typename Show>
SeenBox answer_box(DWORD process_id, int button, Show show) {
    BoxAnswerer answerer(process_id, button);
    show();
    launch::wait_until([&] { return !answerer.seen().empty(); });
    const std::vector<SeenBox> seen = answerer.seen();
    return seen.empty() ? SeenBox{} : seen.front();
}

}  // namespace quilla::test_support

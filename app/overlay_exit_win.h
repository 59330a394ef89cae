// The overlay's exit, run when its window is destroyed: what it saves, gives back and
// stops, in that order, and how long each step may wait.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/clock_win.h"
#include "base/file_win.h"
#include "base/message_wait_win.h"
#include "overlay/render_worker_win.h"

namespace quilla {

// At the session end: how long the saves (the settings, the unsaved item changes) try a
// file another program holds, all together, and how long the render worker is waited for
// at most whatever Wait is, in milliseconds. With the rest of the exit they keep
// WM_ENDSESSION under 3 seconds.
inline constexpr DWORD kSessionEndSaveRetryMs = 1000;
inline constexpr uint32_t kSessionEndWorkerWaitMs = 800;

struct ExitPlan {
    bool session_ending = false;      // Windows may end the process once the exit returns
    bool keep_settings_file = false;  // it could not be read at start: never written over
    bool keep_item_recovery = false;  // nor the item recovery file
};

// Saves the settings (while the overlay still exists, for its place), keeps the unsaved
// item changes in the recovery file (or removes one nothing needs), stops the overlay
// from anchoring and gives the host its height back, then stops the worker (when there
// is one). A held file is tried for kReplaceRetryMs at a normal exit, and the worker
// waited for Wait x 100 ms; at the session end the saves share kSessionEndSaveRetryMs
// and the worker gets kSessionEndWorkerWaitMs at most. Times are measured on clock, and
// the worker is waited for through waits. Returns why the settings could not be saved
// (kNone when they were, or were not to be).
SaveFailure end_overlay(HWND overlay, RenderWorker* worker, const ExitPlan& plan,
                        Clock& clock = system_clock(),
                        MessageWaitCalls& waits = system_calls<MessageWaitCalls>()) noexcept;

}  // namespace quilla

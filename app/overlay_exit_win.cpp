// The exit's steps and their bounds.
#include "app/overlay_exit_win.h"

#include <algorithm>
#include <mutex>

#include "app/settings_file_win.h"
#include "base/trace_win.h"
#include "config/live_settings.h"
#include "config/settings.h"
#include "host/host_window_win.h"
#include "items/item_db.h"
#include "items/item_file_win.h"

namespace quilla {

SaveFailure end_overlay(HWND overlay, RenderWorker* worker, const ExitPlan& plan, Clock& clock,
                        MessageWaitCalls& waits) noexcept {
    const uint64_t saves_end =
        clock.now_ms() + (plan.session_ending ? kSessionEndSaveRetryMs : kReplaceRetryMs);
    const auto time_left = [&] {
        const uint64_t now = clock.now_ms();
        return static_cast<DWORD>(now < saves_end ? saves_end - now : 0);
    };
    SaveFailure failure = SaveFailure::kNone;
    if (!plan.keep_settings_file) {
        save_settings(overlay, &failure, time_left(), clock);
    }
    // Item changes the player did not save (nor let go of at 終了) outlive an end the
    // player did not choose: kept in the recovery file for the next start to offer.
    try {
        if (!plan.keep_item_recovery && !keep_unsaved_items(item_database(), time_left(), clock)) {
            trace_failure("keep_unsaved_items");
        }
    } catch (...) {
        trace_exception();
    }
    {
        std::lock_guard lock(host_layout_mutex());
        position_mode().store(kPositionStopping);
        restore_host_height();
    }
    if (worker) {
        const uint32_t bound = worker_stop_timeout_ms(display_settings().snapshot()->record.wait);
        worker->stop(plan.session_ending ? std::min(bound, kSessionEndWorkerWaitMs) : bound, clock,
                     waits);
    }
    return failure;
}

}  // namespace quilla

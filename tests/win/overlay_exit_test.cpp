// The overlay's exit with its worst case held in place: the render worker inside a read
// the stand-in host keeps waiting, and the settings file held by another program. The
// exit's time is measured on a clock that only its own pauses and waits move, so a bound
// too long shows however fast the machine is.
#include "app/overlay_exit_win.h"

#include <gtest/gtest.h>

#include <memory>

#include "config/live_settings.h"
#include "config/options.h"
#include "overlay/drawing_surface_win.h"
#include "tests/support/fake_clock.h"
#include "tests/support/held_host_win.h"
#include "tests/support/test_process_win.h"
#include "tools/launch/process_win.h"

namespace quilla {
namespace {

// A clock whose waits look at the object without waiting and move the time on instead;
// it notes an object found signalled (a worker that got away from the host's hold).
class ClockedWaits : public test_support::FakeClock, public MessageWaitCalls {
  public:
    DWORD wait_for_object_or_sent_message(HANDLE object, DWORD ms) override {
        const DWORD woke = MsgWaitForMultipleObjects(1, &object, FALSE, 0, QS_SENDMESSAGE);
        if (woke == WAIT_TIMEOUT) {
            advance(ms);
        }
        signalled = signalled || woke == WAIT_OBJECT_0;
        return woke;
    }
    bool signalled = false;
};

// The session end's saves stop together after kSessionEndSaveRetryMs and its wait for the
// worker after kSessionEndWorkerWaitMs, whatever Wait is (or Wait x 100 ms when shorter);
// a normal exit tries the save for two seconds and waits Wait x 100 ms.
TEST(OverlayExit, TheSessionEndBoundsTheSaveAndTheWorkersWaitWhateverTheInterval) {
    const struct {
        const char* what;
        bool session_ending;
        int32_t wait;
        uint64_t save_ms, worker_ms;
    } cases[] = {
        {"session end, Wait=100", true, 100, 1000, 800},
        {"session end, Wait=9", true, 9, 1000, 800},
        {"session end, Wait=8", true, 8, 1000, 800},
        {"session end, Wait=7", true, 7, 1000, 700},
        {"normal exit, Wait=100", false, 100, 2000, 10000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        launch::ScratchDirectory dir;
        ASSERT_TRUE(dir.write_file("inventory.txt", "やくそう\r\n"));
        ASSERT_TRUE(dir.write_file("QuillaWS.txt", "x=0\r\n"));
        launch::StandinHost host = launch::start_standin_host(
            dir.path(), {"--inventory", "inventory.txt", "--held-inventory"});
        ASSERT_NE(host.main, nullptr) << host.error;
        const test_support::HeldInventory held(host.process->process_id());
        ASSERT_TRUE(held.ok());
        DisplaySettings settings;
        settings.record.wait = c.wait;
        display_settings().publish(settings);
        const UniqueWindow overlay(CreateWindowExW(WS_EX_LAYERED, L"STATIC", L"", WS_POPUP, 0, 0,
                                                   20, 20, nullptr, nullptr, nullptr, nullptr));
        SurfaceResult surface = create_drawing_surface(overlay.get(), 200, 100);
        ASSERT_TRUE(surface.surface);
        std::unique_ptr<RenderWorker> worker =
            RenderWorker::start(overlay.get(), std::move(surface.surface));
        ASSERT_TRUE(worker);
        ASSERT_TRUE(held.wait_for_read()) << "the worker did not begin a read of the host";

        const test_support::InWorkingDirectory cwd(dir.path());
        UniqueFile hold = test_support::hold_file(dir.file("QuillaWS.txt"));
        ASSERT_TRUE(hold);
        ClockedWaits clock;
        const uint64_t start = clock.now_ms();
        const SaveFailure failure =
            end_overlay(overlay.get(), worker.get(), {c.session_ending, false, true}, clock, clock);
        const bool worker_held = held.holding();
        held.release();
        position_mode().store(kPositionFree);
        // The host answers nothing until it is let go, but the worker gives a message up
        // after a second of its own: a test thread held up that long proves nothing.
        if (!worker_held || clock.signalled) {
            GTEST_SKIP() << "the host's hold on the worker ended before the exit did";
        }
        EXPECT_EQ(failure, SaveFailure::kInUse);
        const uint64_t save_ms = clock.pauses() * uint64_t{kReplaceRetryIntervalMs};
        EXPECT_EQ(save_ms, c.save_ms);
        EXPECT_EQ(clock.now_ms() - start - save_ms, c.worker_ms);
    }
}

}  // namespace
}  // namespace quilla

// The live overlay: what it shows, where it goes relative to the host, and how it stops.
#include <windows.h>

#include "base/handles_win.h"
#include "config/options.h"
#include "tests/support/overlay_fixture_win.h"
#include "tests/support/held_host_win.h"

namespace quilla::e2e {
namespace {

constexpr char kItems[] =
    "武器,ミスリルブレード,5\n武器印,竜,1\n武器印,会,2\n盾,白銀の盾,3\nお守り,いやしのお守り,\n";

using Rendering = OverlayTest;

TEST_F(Rendering, WithoutAHostShowsTheNothingTextsInTheConfiguredColours) {
    write_settings("BackColor=255\r\nFontColor=65280\r\nWeaponText=素手\r\nx=100\r\ny=100\r\n");
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    // Red behind green text with a black outline.
    EXPECT_TRUE(
        wait_for_lines(hwnd, {"素手", "なし", "なし"}, {RGB(255, 0, 0), RGB(0, 255, 0), 0}));
    const RECT r = window_rect(hwnd);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 100);
    close_overlay(hwnd);
}

TEST_F(Rendering, FollowsTheInventoryAsItemsAreEquippedAndRemoved) {
    write_items(kItems);
    write_inventory("やくそう\r\n");
    ASSERT_NE(start_host(), nullptr);
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(wait_for_lines(hwnd, {"なし", "なし", "なし"}));

    write_inventory(
        "やくそう\r\nミスリルブレード [竜竜会] (Ｅ)\r\n白銀の盾 (Ｅ金)\r\nいやしのお守り (Ｅ)\r\n");
    EXPECT_TRUE(wait_for_lines(
        hwnd, {"ミスリルブレード[竜竜会○○○○○○○]", "★白銀の盾 [○○○○○○○○○○]", "いやし  "}));

    // With the slot usage shown: two 竜 of 1 and one 会 of 2 use 4 of 5 slots.
    command(hwnd, kOptionUtsuwa);
    EXPECT_TRUE(wait_for_lines(hwnd, {"ミスリルブレード[竜竜会○○○○○○○] (4/5)",
                                      "★白銀の盾 [○○○○○○○○○○] (0/3)", "いやし  "}));

    write_inventory("ミスリルブレード [竜竜会] (装備なし)\r\n");
    EXPECT_TRUE(wait_for_lines(hwnd, {"なし", "なし", "なし"}));
    close_overlay(hwnd);
}

TEST_F(Rendering, PinnedModeKeepsTheOverlayOnTheHostsLowerLeftCorner) {
    const auto [host, hwnd] = start_beside_host("Pos=2\r\n", {"--pos", "300,200"});
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(wait_until([&] { return anchored(hwnd, host); }));

    // A drag (here: moving the window from outside) is undone on the next pass.
    SetWindowPos(hwnd, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(wait_until([&] { return anchored(hwnd, host); }));

    // So is a move of the host.
    SetWindowPos(host, nullptr, 350, 260, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(wait_until([&] { return window_rect(host).left == 350 && anchored(hwnd, host); }));
    close_overlay(hwnd);
}

// A close that lands while the worker is in the middle of a pass: the stand-in host (run
// with --held-inventory) keeps its answer to the worker's first query of a read until the
// test has seen what it waits for, so no timer decides whether the close and the read
// overlapped.
struct CloseDuringPass {
    bool overlapped = false;  // the program was closing while the host held the worker's read
    bool exited_while_held = false;  // and ended while the host still held it
    std::optional<DWORD> exit_code;
};

class ClosingMidPass : public OverlayTest {
  protected:
    // Starts a held stand-in host with these arguments and then the overlay with these
    // settings; the overlay's window, null when something did not come up.
    HWND start_held(std::vector<std::string> host_args, const std::string& settings) {
        host_args.push_back("--held-inventory");
        if (!start_host(std::move(host_args))) {
            return nullptr;
        }
        held_ = std::make_unique<test_support::HeldInventory>(host_->process_id());
        EXPECT_TRUE(held_->ok()) << "the held host's events";
        write_settings(settings);
        return held_->ok() ? start_overlay() : nullptr;
    }

    // Waits until the worker has begun a read of the host's inventory, closes the overlay,
    // and tells whether the window was going (hidden, as its destruction begins) while the
    // host still held that read. The host answers once the close was seen, or, with
    // release_after_exit, only once the program has ended. (The settings file is not
    // watched: a reader holding it open would make the program's save fail.)
    CloseDuringPass close_during_pass(HWND hwnd, bool release_after_exit) {
        CloseDuringPass result;
        if (!held_->wait_for_read()) {
            ADD_FAILURE() << "the worker did not begin a read of the host's inventory";
            return result;
        }
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        const bool closing = wait_until([&] { return !IsWindowVisible(hwnd); });
        result.overlapped = closing && held_->holding();
        if (!release_after_exit) {
            held_->release();
        }
        result.exit_code = overlay_->wait_exit(3 * launch::kUsualWaitMs);
        result.exited_while_held = result.exit_code.has_value() && held_->holding();
        held_->release();
        return result;
    }

    std::unique_ptr<test_support::HeldInventory> held_;
};

TEST_F(ClosingMidPass, ClosingWhileTheWorkerIsMidPassNeverCrashesOrHangs) {
    // The host answers the worker's read once the close has begun, so the answer comes
    // while the program ends; with Pos=3 the close also gives the host its height back
    // meanwhile. A fresh host each round, so no query of an earlier round is still queued.
    write_items(kItems);
    write_inventory("ミスリルブレード [竜竜会] (Ｅ)\r\n白銀の盾 (Ｅ)\r\n");
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        HWND hwnd = start_held({"--width", "390"}, "Wait=1\r\nPos=3\r\n");
        ASSERT_NE(hwnd, nullptr);
        const CloseDuringPass closed = close_during_pass(hwnd, false);
        EXPECT_TRUE(closed.overlapped) << "the close did not land while the host held the read";
        EXPECT_EQ(closed.exit_code, 0u) << "crashed or did not exit";
        overlay_.reset();
        host_.reset();
    }
}

TEST_F(ClosingMidPass, AWorkerStuckOnABusyHostDoesNotKeepTheProgramFromEndingCleanly) {
    // The host keeps the worker's read waiting until the program has ended. With Wait=1 the
    // shutdown waits at most 100 ms for the worker; the program then ends, the worker still
    // waiting for the host.
    write_inventory("やくそう\r\n");
    HWND hwnd = start_held({}, "Wait=1\r\n");
    ASSERT_NE(hwnd, nullptr);
    const CloseDuringPass closed = close_during_pass(hwnd, true);
    EXPECT_TRUE(closed.overlapped) << "the close did not land while the host held the read";
    EXPECT_EQ(closed.exit_code, 0u) << "crashed or did not exit";
    EXPECT_TRUE(closed.exited_while_held) << "the close waited for the worker's read to end";
    EXPECT_NE(saved_settings().find("\r\nWait=1\r\n"), std::string::npos) << saved_settings();
}

// With Wait=1 the exit waits at most 100 ms for the worker, which goes on asking a slow
// host (30 ms an answer, several answers a read) while the program ends: whatever the
// worker reaches lives until the process is gone, so it always ends with exit code 0.
TEST_F(ClosingMidPass, WithWaitOneBesideASlowHostTheProgramEndsCleanly) {
    write_inventory("やくそう\r\nミスリルブレード (Ｅ)\r\n白銀の盾 (Ｅ)\r\n");
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        write_settings("Wait=1\r\n");
        ASSERT_NE(start_host({"--slow-inventory", "30"}), nullptr);
        ASSERT_NE(start_overlay(), nullptr);
        HWND hwnd = launch::wait_until_drawn(*overlay_);
        ASSERT_NE(hwnd, nullptr) << "the worker did not draw";
        EXPECT_EQ(close_overlay(hwnd), 0u) << "crashed or did not exit";
        overlay_.reset();
        host_.reset();
    }
}

}  // namespace
}  // namespace quilla::e2e

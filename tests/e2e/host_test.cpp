// The overlay beside the stand-in host: the host's height through the position modes and
// at exit, the inventory window request at start-up, a busy host and a minimized one.
#include <windows.h>

#include "app/command_ids.h"
#include "config/options.h"
#include "tests/support/held_host_win.h"
#include "tests/support/overlay_fixture_win.h"

namespace quilla::e2e {
namespace {

using HostAtStartAndExit = OverlayTest;

// The host's height through the position modes: extended, the overlay's height is added to
// the base height of a host whose width the program knows, and the overlay sits in that
// strip; free or pinned, and at exit (a close or the end of a Windows session, not one
// that is cancelled), the host has its base height again. A host of a width the program
// does not know keeps its height throughout.
TEST_F(HostAtStartAndExit, TheHostsHeightFollowsThePositionModeAndIsGivenBackAtExit) {
    // What a step does besides a menu command.
    constexpr int kNothing = 0, kCancelledSessionEnd = -1, kSessionEnd = -2, kClose = -3;
    struct Step {
        int action;             // a menu command, or one of the above
        int host_height;        // once it is done
        bool anchored = false;  // the overlay on the lower-left corner of the host's client area
    };
    struct Case {
        const char* what;
        std::vector<std::string> host_args;
        const char* settings;
        std::vector<Step> steps;
    };
    // Base heights: 289 for a width of 390, 349 for 486, 433 for 620; a line is 16 high.
    const Case cases[] = {
        {"a known width, free", {"--size", "486x400"}, "", {{kNothing, 400}, {kClose, 349}}},
        {"an unknown width, free", {"--size", "500x400"}, "", {{kNothing, 400}, {kClose, 400}}},
        {"a known width, extended from the start, fewer lines",
         {"--width", "390"},
         "Pos=3\r\n",
         {{kNothing, 289 + 48, true}, {kOptionAmulet, 289 + 32, true}, {kClose, 289}}},
        {"an unknown width, extended from the start",
         {"--size", "500x300"},
         "Pos=3\r\n",
         {{kNothing, 300, true}, {kClose, 300}}},
        {"extended, then free, then pinned",
         {"--width", "620"},
         "",
         {{kNothing, 433},
          {kCommandPositionExtended, 433 + 48, true},
          {kCommandPositionFree, 433},
          {kCommandPositionExtended, 433 + 48, true},
          {kCommandPositionPinned, 433, true},
          {kClose, 433}}},
        {"extended, through a cancelled session end to one that ends",
         {"--width", "620"},
         "",
         {{kNothing, 433},
          {kCommandPositionExtended, 433 + 48, true},
          {kCancelledSessionEnd, 433 + 48, true},
          {kSessionEnd, 433}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto [host, hwnd] = start_beside_host(c.settings, c.host_args);
        ASSERT_NE(hwnd, nullptr);
        const int width = window_rect(host).right - window_rect(host).left;
        for (const Step& step : c.steps) {
            SCOPED_TRACE("after action " + std::to_string(step.action));
            if (step.action > 0) {
                command(hwnd, step.action);
            } else if (step.action == kClose) {
                EXPECT_EQ(close_overlay(hwnd), 0u);
            } else if (step.action != kNothing) {
                end_session(hwnd, step.action == kSessionEnd);
                if (step.action == kSessionEnd) {
                    overlay_->terminate();  // as Windows may, as soon as WM_ENDSESSION returns
                }
            }
            EXPECT_TRUE(wait_until([&] {
                return height_of(host) == step.host_height &&
                       (!step.anchored || anchored(hwnd, host));
            })) << "host height "
                << height_of(host);
            ASSERT_TRUE(sync_with(host)) << "the host window answered";  // any resize handled
            EXPECT_EQ(height_of(host), step.host_height);
        }
        EXPECT_EQ(window_rect(host).right - window_rect(host).left, width);
        overlay_.reset();
        host_.reset();
    }
}

// With ItemWindow on, the overlay makes a host whose inventory is closed open it at the
// start, and keeps the setting; with it off, the inventory stays closed.
TEST_F(HostAtStartAndExit, ItemWindowMakesTheHostOpenItsInventoryAtStartAndOnlyThen) {
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on ? "ItemWindow=1" : "ItemWindow=0");
        write_inventory("やくそう\r\n");
        write_settings(on ? "ItemWindow=1\r\n" : "");
        HWND host = start_host({"--closed"});
        ASSERT_NE(host, nullptr);
        ASSERT_EQ(host_->find_inventory_window(), nullptr);
        HWND hwnd = start_overlay();
        ASSERT_NE(hwnd, nullptr);
        ASSERT_TRUE(sync_with(hwnd) && sync_with(host)) << "the windows answered";
        EXPECT_EQ(host_->wait_for_inventory_window(on ? launch::kUsualWaitMs : 0) != nullptr, on);
        EXPECT_EQ(close_overlay(hwnd), 0u);
        EXPECT_NE(saved_settings().find(on ? "\r\nItemWindow=1\r\n" : "\r\nItemWindow=0\r\n"),
                  std::string::npos);
        overlay_.reset();
        host_.reset();
    }
}

// A host whose thread reads no messages (loading, or stuck) when the overlay starts with
// ItemWindow on: the overlay comes up while the host is still held, and exits normally once
// the host is let go.
TEST_F(HostAtStartAndExit, ABusyHostDoesNotHoldTheStart) {
    write_inventory("やくそう\r\n");
    write_settings("ItemWindow=1\r\n");
    test_support::HostHold hold;
    ASSERT_TRUE(hold.ok());
    std::vector<std::string> args = hold.hold_args();
    args.push_back("--closed");
    HWND host = start_host(args);
    ASSERT_NE(host, nullptr);
    HWND hwnd = start_overlay();
    hold.release();
    ASSERT_NE(hwnd, nullptr) << "the overlay did not come up beside a busy host";
    ASSERT_TRUE(sync_with(host)) << "the host window answered once let go";
    EXPECT_EQ(close_overlay(hwnd), 0u);
    EXPECT_NE(saved_settings().find("\r\nItemWindow=1\r\n"), std::string::npos);
}

// A host minimized (by another program) while the overlay extends it: the overlay is hidden
// rather than left alone on the desktop, and closing it leaves the host minimized where it
// is, ends cleanly and saves where the overlay last was beside the host, not the icon.
TEST_F(HostAtStartAndExit, AHostMinimizedInExtendedModeIsLeftAsItIsWhenTheOverlayCloses) {
    const auto [host, hwnd] = start_beside_host("Pos=3\r\n", {"--width", "620"});
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(wait_until([&] { return height_of(host) > 433 && anchored(hwnd, host); }))
        << "the host was extended, the overlay anchored in the strip";
    const RECT beside = window_rect(hwnd);

    ShowWindow(host, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(host));
    ASSERT_TRUE(wait_until([&] { return !IsWindowVisible(hwnd); }))
        << "the overlay stayed on the desktop";
    const RECT icon = window_rect(host);
    EXPECT_EQ(close_overlay(hwnd), 0u);
    ASSERT_TRUE(sync_with(host)) << "the host window answered";
    EXPECT_TRUE(IsIconic(host));
    const RECT after = window_rect(host);
    EXPECT_TRUE(after.left == icon.left && after.top == icon.top && after.right == icon.right &&
                after.bottom == icon.bottom);
    const std::string saved = saved_settings();
    EXPECT_EQ(
        saved.rfind(
            "x=" + std::to_string(beside.left) + "\r\ny=" + std::to_string(beside.top) + "\r\n", 0),
        0u)
        << saved;
}

}  // namespace
}  // namespace quilla::e2e

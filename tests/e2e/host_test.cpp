// The overlay beside the stand-in host at start-up and at exit: the inventory window
// request and the host height restore, also with the host minimized.
#include <windows.h>

#include "tests/support/overlay_fixture_win.h"
#include "tests/support/held_host_win.h"

namespace quilla::e2e {
namespace {

using HostAtStartAndExit = OverlayTest;

TEST_F(HostAtStartAndExit, ClosingRestoresAHostOfAKnownWidthToItsBaseHeight) {
    write_inventory("");
    HWND host = start_host({"--size", "486x400"});
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(height_of(host), 400);
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(close_overlay(hwnd), 0u);
    EXPECT_TRUE(wait_until([&] { return height_of(host) == 349; }))
        << "host height " << height_of(host);
    EXPECT_EQ(window_rect(host).right - window_rect(host).left, 486);
}

TEST_F(HostAtStartAndExit, AHostOfAnUnknownWidthKeepsItsHeight) {
    write_inventory("");
    HWND host = start_host({"--size", "500x400"});
    ASSERT_NE(host, nullptr);
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(close_overlay(hwnd), 0u);
    // Any resize request would have been handled by now.
    ASSERT_TRUE(sync_with(host)) << "the host window answered";
    EXPECT_EQ(height_of(host), 400);
}

TEST_F(HostAtStartAndExit, ItemWindowMakesTheHostOpenItsInventoryAtStart) {
    write_inventory("やくそう\r\n");
    write_settings("ItemWindow=1\r\n");
    HWND host = start_host({"--closed"});
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(host_->find_inventory_window(), nullptr);
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_NE(host_->wait_for_inventory_window(), nullptr);
    close_overlay(hwnd);
    EXPECT_NE(saved_settings().find("\r\nItemWindow=1\r\n"), std::string::npos);
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

TEST_F(HostAtStartAndExit, WithoutItemWindowTheInventoryStaysClosed) {
    write_inventory("");
    HWND host = start_host({"--closed"});
    ASSERT_NE(host, nullptr);
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(sync_with(hwnd)) << "the overlay window answered";
    ASSERT_TRUE(sync_with(host)) << "the host window answered";
    EXPECT_EQ(host_->find_inventory_window(), nullptr);
    close_overlay(hwnd);
}

// A host minimized (by another program) while the overlay extends it: the overlay is hidden
// rather than left alone on the desktop, and closing it leaves the host minimized where it
// is, ends cleanly and saves where the overlay last was beside the host, not the icon.
TEST_F(HostAtStartAndExit, AHostMinimizedInExtendedModeIsLeftAsItIsWhenTheOverlayCloses) {
    const auto [host, hwnd] = start_beside_host("Pos=3\r\n", {"--width", "620"});
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(wait_until([&] { return height_of(host) > 433; })) << "the host was extended";
    ASSERT_TRUE(wait_until([&] { return window_rect(hwnd).bottom > window_rect(host).top + 433; }))
        << "the overlay was anchored in the strip";
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

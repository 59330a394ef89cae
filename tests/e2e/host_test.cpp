// The overlay beside the stand-in host at start-up and at exit: the inventory window
// request and the host height restore.
#include <windows.h>

#include "tests/e2e/overlay_fixture_win.h"

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

}  // namespace
}  // namespace quilla::e2e

// The live overlay: what it shows, where it goes relative to the host, and how it stops.
#include <windows.h>

#include "tests/e2e/overlay_fixture_win.h"

namespace quilla::e2e {
namespace {

constexpr char kItems[] =
    "武器,ミスリルブレード,5\n武器印,竜,1\n武器印,会,2\n盾,白銀の盾,3\nお守り,いやしのお守り,\n";

using Rendering = OverlayTest;

RECT client_in_screen(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    POINT top_left{r.left, r.top};
    POINT bottom_right{r.right, r.bottom};
    ClientToScreen(hwnd, &top_left);
    ClientToScreen(hwnd, &bottom_right);
    return {top_left.x, top_left.y, bottom_right.x, bottom_right.y};
}

// The overlay's lower-left corner on the host client area's lower-left corner.
bool anchored(HWND overlay, HWND host) {
    const RECT o = window_rect(overlay);
    const RECT c = client_in_screen(host);
    return o.left == c.left && o.bottom == c.bottom;
}

TEST_F(Rendering, WithoutAHostShowsTheNothingTextsInTheConfiguredColours) {
    write_settings("BackColor=255\r\nFontColor=65280\r\nWeaponText=素手\r\nx=100\r\ny=100\r\n");
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(wait_for_lines(hwnd, {"素手", "なし", "なし"}));
    const RECT r = window_rect(hwnd);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 100);
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(wait_until([&] {
        pixels = capture_screen(r);
        return count_pixels(pixels, 0x00FF00) > 0;
    })) << "no text pixels in the font colour";
    EXPECT_GT(count_pixels(pixels, 0xFF0000), pixels.size() / 2) << "background not red";
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
    command(hwnd, 1025);
    EXPECT_TRUE(wait_for_lines(hwnd, {"ミスリルブレード[竜竜会○○○○○○○] (4/5)",
                                      "★白銀の盾 [○○○○○○○○○○] (0/3)", "いやし  "}));

    write_inventory("ミスリルブレード [竜竜会] (装備なし)\r\n");
    EXPECT_TRUE(wait_for_lines(hwnd, {"なし", "なし", "なし"}));
    close_overlay(hwnd);
}

TEST_F(Rendering, PinnedModeKeepsTheOverlayOnTheHostsLowerLeftCorner) {
    write_inventory("");
    write_settings("Pos=2\r\n");
    HWND host = start_host({"--pos", "300,200"});
    ASSERT_NE(host, nullptr);
    HWND hwnd = start_overlay();
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

TEST_F(Rendering, ExtendedModeGrowsAHostOfAKnownWidthByTheOverlayHeight) {
    write_inventory("");
    write_settings("Pos=3\r\n");
    HWND host = start_host({"--width", "390"});
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(height_of(host), 289);
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    const int three_lines = overlay_extent({"なし", "なし", "なし"}).height;
    EXPECT_TRUE(wait_until([&] {
        return height_of(host) == 289 + three_lines && height_of(hwnd) == three_lines &&
               anchored(hwnd, host);
    })) << "host height "
        << height_of(host);

    // Fewer lines, a lower overlay: the host follows.
    command(hwnd, 1023);
    const int two_lines = overlay_extent({"なし", "なし"}).height;
    EXPECT_TRUE(wait_until([&] {
        return height_of(host) == 289 + two_lines && height_of(hwnd) == two_lines &&
               anchored(hwnd, host);
    })) << "host height "
        << height_of(host);

    // Closing gives the host its base height back.
    close_overlay(hwnd);
    EXPECT_TRUE(wait_until([&] { return height_of(host) == 289; }));
}

TEST_F(Rendering, ExtendedModeOnlyAnchorsToAHostOfAnUnknownWidth) {
    write_inventory("");
    write_settings("Pos=3\r\n");
    HWND host = start_host({"--size", "500x300"});
    ASSERT_NE(host, nullptr);
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(wait_until([&] { return anchored(hwnd, host); }));
    flush(host);
    EXPECT_EQ(height_of(host), 300);
    close_overlay(hwnd);
    flush(host);
    EXPECT_EQ(height_of(host), 300);
}

TEST_F(Rendering, ClosingWhileTheWorkerIsMidPassNeverCrashesOrHangs) {
    write_items(kItems);
    write_inventory("ミスリルブレード [竜竜会] (Ｅ)\r\n白銀の盾 (Ｅ)\r\n");
    write_settings("Wait=1\r\nPos=3\r\n");
    HWND host = start_host({"--width", "390"});
    ASSERT_NE(host, nullptr);
    for (int round = 0; round < 6; ++round) {
        HWND hwnd = start_overlay();
        ASSERT_NE(hwnd, nullptr);
        // Close at once, while passes run back to back.
        EXPECT_EQ(close_overlay(hwnd), 0u) << "round " << round;
    }
}

TEST_F(Rendering, AWorkerStuckOnABusyHostDoesNotKeepTheProgramFromEndingCleanly) {
    // The host answers each list-box query after 3 s; the overlay gives up on a query
    // after 1 s, so every pass spends seconds in the read. With Wait=1 the shutdown waits
    // only 100 ms for the worker, which is then still busy with the host.
    write_inventory("やくそう\r\n");
    write_settings("Wait=1\r\n");
    HWND host = start_host({"--slow-inventory", "3000"});
    ASSERT_NE(host, nullptr);
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    // Exit code 0, not an access violation, and well within the test's deadline.
    EXPECT_EQ(close_overlay(hwnd), 0u);
    EXPECT_NE(settings_file()->find("\r\nWait=1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace quilla::e2e

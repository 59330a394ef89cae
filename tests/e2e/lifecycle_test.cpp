// Starting and closing the overlay: where it opens, how it is layered, what it writes.
#include <windows.h>

#include "tests/e2e/overlay_fixture_win.h"
#include "tests/support/control_text_win.h"

namespace quilla::e2e {
namespace {

using Lifecycle = OverlayTest;

constexpr char kDefaultsAtOrigin[] =
    "x=0\r\ny=0\r\nTopMost=0\r\nTransparent=0\r\nWeapon=1\r\nShield=1\r\nAmulet=1\r\nMaru=1\r\n"
    "In=0\r\nUtsuwa=0\r\nPos=1\r\nItemWindow=0\r\nhook=0\r\nhookKey=0\r\n"
    "Font=ＭＳ ゴシック\r\nFontSize=16\r\nWeaponText=なし\r\nShieldText=なし\r\n"
    "AmuletText=なし\r\nBackColor=0\r\nFontColor=16777215\r\nEdgeColor=0\r\nWait=100\r\n";

TEST_F(Lifecycle, WithoutSettingsOpensAtOriginNotTopmostAndWritesDefaultsAtExit) {
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    const RECT r = window_rect(hwnd);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_FALSE(is_topmost(hwnd));
    const LONG ex = GetWindowLongA(hwnd, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE) & (WS_CAPTION | WS_BORDER | WS_THICKFRAME), 0);
    EXPECT_EQ(test_support::control_text(hwnd), "Quilla WS");

    EXPECT_EQ(close_overlay(hwnd), 0u);
    EXPECT_EQ(settings_file(), std::string(kDefaultsAtOrigin));
}

TEST_F(Lifecycle, SavedPositionsOffTheScreenAreBroughtBack) {
    const int screen_width = GetSystemMetrics(SM_CXSCREEN);
    write_settings("x=-50\r\ny=30\r\n");
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(window_rect(hwnd).left, 0);
    EXPECT_EQ(window_rect(hwnd).top, 30);
    close_overlay(hwnd);
    EXPECT_EQ(saved_settings().rfind("x=0\r\ny=30\r\n", 0), 0u);

    write_settings("x=" + std::to_string(screen_width + 500) + "\r\ny=0\r\n");
    hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(window_rect(hwnd).left, screen_width - 20);
    close_overlay(hwnd);
}

TEST_F(Lifecycle, TopMostFromTheSettingsFile) {
    write_settings("TopMost=1\r\n");
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(is_topmost(hwnd));
    close_overlay(hwnd);

    write_settings("TopMost=2\r\n");  // only 1 is on
    hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_FALSE(is_topmost(hwnd));
    close_overlay(hwnd);
}

TEST_F(Lifecycle, SettingsSurviveARunUnchanged) {
    const std::string custom =
        "x=120\r\ny=80\r\nTopMost=0\r\nTransparent=1\r\nWeapon=5\r\nShield=1\r\nAmulet=0\r\n"
        "Maru=0\r\nIn=1\r\nUtsuwa=1\r\nPos=1\r\nItemWindow=0\r\nhook=1\r\nhookKey=272\r\n"
        "Font=ＭＳ ゴシック\r\nFontSize=-20\r\nWeaponText=\r\nShieldText=盾 なし\r\n"
        "AmuletText=表\r\nBackColor=255\r\nFontColor=65280\r\nEdgeColor=16711680\r\nWait=250\r\n";
    write_settings(custom);
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(close_overlay(hwnd), 0u);
    EXPECT_EQ(settings_file(), custom);
}

TEST_F(Lifecycle, AnUnwritableSettingsFileStaysWholeAndTheProgramStillExitsCleanly) {
    const std::string old = "x=10\r\ny=10\r\nhook=1\r\n";
    write_settings(old);
    ASSERT_TRUE(SetFileAttributesA(dir_.file("QuillaWS.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(close_overlay(hwnd), 0u);
    EXPECT_EQ(settings_file(), old);
}

}  // namespace
}  // namespace quilla::e2e

// The program under three ANSI code pages (932, 1252 and 65001), beside a stand-in host and
// a test that stay in 932: each test runs once per code page and expects what 932 gives.
// The settings file keeps its bytes, the host's lines are read and drawn to the same
// pixels, and the dialog, the menu and the boxes show the program's own texts.
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/command_ids.h"
#include "app/context_menu_win.h"
#include "base/code_page_win.h"
#include "base/file_win.h"
#include "config/live_settings.h"
#include "config/options.h"
#include "tests/support/overlay_fixture_win.h"
#include "tests/support/test_process_win.h"
#include "tests/support/control_text_win.h"
#include "tests/support/message_box_win.h"
#include "tests/support/popup_menu_win.h"
#include "tests/support/worklist_server_win.h"
#include "ui/item_editor_ids.h"

namespace quilla::e2e {
namespace {

using test_support::answer_box;
using test_support::CodePageLocale;
using test_support::control_text;
using test_support::SeenBox;
using test_support::visible_popup_menu;
using test_support::WorklistServer;

class UnderCodePage : public OverlayTest, public ::testing::WithParamInterface<CodePageLocale> {
  protected:
    UnderCodePage() { unix_locale_ = GetParam().unix_locale; }
};

std::string code_page_name(const ::testing::TestParamInfo<CodePageLocale>& info) {
    return "CodePage" + std::to_string(info.param.code_page);
}

INSTANTIATE_TEST_SUITE_P(AnsiCodePages, UnderCodePage,
                         ::testing::ValuesIn(test_support::kCodePageLocales), code_page_name);

TEST_P(UnderCodePage, AProgramStartedSoRunsInTheCodePage) {
    ChildProcess probe(to_windows_path(CODE_PAGE_PROBE_PATH), {}, dir_.path(), unix_locale_);
    ASSERT_TRUE(probe.started()) << probe.error();
    std::optional<std::string> written;
    EXPECT_TRUE(
        wait_until([&] { return (written = read_file(dir_.file("code_page.txt"))).has_value(); }));
    EXPECT_EQ(written, std::to_string(GetParam().code_page));
}

// Every key written as the program writes it, the face in Shift-JIS: the file read at the
// start is the file written at the exit, byte for byte.
TEST_P(UnderCodePage, StartAndExitKeepTheSettingsFileByteForByte) {
    const std::string file =
        "x=100\r\ny=100\r\nTopMost=0\r\nTransparent=0\r\nWeapon=1\r\nShield=1\r\nAmulet=1\r\n"
        "Maru=1\r\nIn=0\r\nUtsuwa=0\r\nPos=1\r\nItemWindow=1\r\nhook=0\r\nhookKey=117\r\n"
        "Font=ＭＳ ゴシック\r\nFontSize=16\r\nWeaponText=素手\r\nShieldText=盾なし\r\n"
        "AmuletText=お守りなし\r\nBackColor=255\r\nFontColor=65280\r\nEdgeColor=16711680\r\n"
        "Wait=100\r\n";
    write_settings(file);
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(wait_for_lines(hwnd, {"素手", "盾なし", "お守りなし"},
                               {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)}));
    EXPECT_EQ(close_overlay(hwnd), 0u);
    EXPECT_EQ(saved_settings(), file);
}

TEST_P(UnderCodePage, TheHostsLinesAreReadAndDrawnAsIn932) {
    write_items(
        "武器,ミスリルブレード,5\n武器印,竜,1\n武器印,会,2\n盾,白銀の盾,3\n"
        "お守り,いやしのお守り,\n");
    write_inventory(
        "やくそう\r\nミスリルブレード [竜竜会] (Ｅ)\r\n白銀の盾 (Ｅ金)\r\n"
        "いやしのお守り (Ｅ)\r\n");
    ASSERT_NE(start_host(), nullptr);
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(wait_for_lines(
        hwnd, {"ミスリルブレード[竜竜会○○○○○○○]", "★白銀の盾 [○○○○○○○○○○]", "いやし  "}));
    write_inventory("ミスリルブレード [竜竜会] (装備なし)\r\n");
    EXPECT_TRUE(wait_for_lines(hwnd, {"なし", "なし", "なし"}));
    EXPECT_EQ(close_overlay(hwnd), 0u);
}

// The dialog's fields show the settings' texts, and what is typed into them (here by the
// test, in 932) is what the file keeps. (The font list is not compared: Windows names a
// font in the user's language, so the same font is listed as IPAGothic outside 932.)
TEST_P(UnderCodePage, TheDialogShowsAndTakesTheTexts) {
    write_settings("WeaponText=素手のまま\r\nShieldText=盾なし\r\nx=100\r\ny=100\r\n");
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    HWND dialog = open_dialog(hwnd);
    ASSERT_NE(dialog, nullptr);
    const auto field_at = [&](POINT point) {
        return ChildWindowFromPointEx(dialog, point, CWP_SKIPINVISIBLE);
    };
    EXPECT_EQ(control_text(field_at({210, 100})), "素手のまま");
    EXPECT_EQ(control_text(field_at({210, 125})), "盾なし");
    EXPECT_EQ(control_text(field_at({210, 150})), "なし");

    ASSERT_TRUE(SetWindowTextA(field_at({210, 150}), "お守りはなし"));
    PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(250, 300));  // OK
    ASSERT_TRUE(wait_until([&] { return !IsWindow(dialog); })) << "the dialog stayed open";
    EXPECT_EQ(close_overlay(hwnd), 0u);
    const std::string saved = saved_settings();
    EXPECT_NE(saved.find("\r\nWeaponText=素手のまま\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\r\nAmuletText=お守りはなし\r\n"), std::string::npos) << saved;
}

// 情報 with QUILLA_UPDATE_SERVER naming a local worklist: the offer of the newer version,
// then the version box once nothing answers.
TEST_P(UnderCodePage, TheInformationBoxesShowTheirTexts) {
    auto server = std::make_unique<WorklistServer>("QuillaWS,a,b,c,1.7.0\r\n", false, true);
    HWND hwnd = start_overlay();  // inherits the variable naming the server
    ASSERT_NE(hwnd, nullptr);
    const auto choose_information = [&] { PostMessageA(hwnd, WM_COMMAND, kCommandInformation, 0); };
    const SeenBox offer = answer_box(overlay_->process_id(), IDNO, choose_information);
    EXPECT_EQ(offer.caption, "アップデート");
    EXPECT_EQ(offer.owner, hwnd);
    EXPECT_EQ(offer.text.rfind("新たなバージョンが見つかりました。\r\n1.7.0\r\n", 0), 0u)
        << offer.text;
    ASSERT_TRUE(wait_until([&] { return !IsWindow(offer.box); })) << "the offer box closed";

    server->stop_listening();
    const SeenBox version = answer_box(overlay_->process_id(), IDOK, choose_information);
    EXPECT_EQ(version.caption, "バージョン情報");
    EXPECT_EQ(version.text, "QuillaWS\r\nversion:1.6.0");
    EXPECT_EQ(close_overlay(hwnd), 0u);
}

// The popup menu that opens at the cursor: its pixels. When shown by this process, the
// menu is tracked on a thread of its own, since tracking holds the thread until it closes.
struct SeenMenu {
    RECT rect{};
    std::vector<uint32_t> pixels;
};

// A system colour as the screen captures give it (0x00RRGGBB).
uint32_t screen_colour(int index) {
    const COLORREF c = GetSysColor(index);
    return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
}

// The visible popup menu of the process, then closed through its owner. Without expected,
// once drawn: most of it in the menu colour, some text on it, the same at two looks in a
// row. With expected, once it shows exactly those pixels (or, at the deadline, as last
// seen). Empty when no menu showed or it was never drawn.
SeenMenu capture_menu(DWORD process_id, HWND owner,
                      const std::vector<uint32_t>* expected = nullptr) {
    SeenMenu seen;
    HWND menu = nullptr;
    if (wait_until([&] { return (menu = visible_popup_menu(process_id)) != nullptr; })) {
        std::vector<uint32_t> before;
        const bool drawn = wait_until([&] {
            seen.rect = window_rect(menu);
            seen.pixels = capture_screen(seen.rect);
            if (expected) {
                return seen.pixels == *expected;
            }
            const bool same =
                seen.pixels == before &&
                count_pixels(seen.pixels, screen_colour(COLOR_MENU)) > seen.pixels.size() / 2 &&
                count_pixels(seen.pixels, screen_colour(COLOR_MENUTEXT)) > 0;
            before = seen.pixels;
            return same;
        });
        if (!drawn && !expected) {
            seen.pixels.clear();
        }
    }
    PostMessageA(owner, WM_CANCELMODE, 0, 0);
    wait_until([&] { return visible_popup_menu(process_id) == nullptr; });
    return seen;
}

SeenMenu capture_own_menu(POINT at) {
    // The owner window and the menu belong to the thread that tracks the popup.
    std::atomic<HWND> owner{nullptr};
    std::atomic<bool> failed{false};
    std::thread tracking([&] {
        UniqueWindow window(CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 1, 1,
                                            nullptr, nullptr, nullptr, nullptr));
        UniqueMenu menu = build_context_menu();
        if (!window || !menu) {
            failed = true;
            return;
        }
        owner = window.get();
        SetForegroundWindow(window.get());
        TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, at.x, at.y, 0, window.get(), nullptr);
    });
    SeenMenu seen;
    if (wait_until([&] { return owner.load() != nullptr || failed.load(); }) && !failed) {
        seen = capture_menu(GetCurrentProcessId(), owner.load());
    }
    tracking.join();
    return seen;
}

TEST_P(UnderCodePage, TheMenuShowsTheCaptionsAs932Does) {
    write_settings("TopMost=0\r\nTransparent=0\r\nx=100\r\ny=100\r\n");
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);

    // The same menu with the same marks, shown by this process in 932.
    for (const int option : {kOptionTopMost, kOptionTransparent}) {
        if (options().is_on(option)) {
            options().toggle(option);
        }
    }
    const SeenMenu own = capture_own_menu({600, 300});
    ASSERT_FALSE(own.pixels.empty()) << "the test's menu did not open";

    const POINT at{300, 300};
    ASSERT_TRUE(SetCursorPos(at.x, at.y));
    PostMessageA(hwnd, WM_RBUTTONUP, 0, 0);
    const SeenMenu program = capture_menu(overlay_->process_id(), hwnd, &own.pixels);
    ASSERT_FALSE(program.pixels.empty()) << "the program's menu did not open";
    EXPECT_EQ(program.rect.right - program.rect.left, own.rect.right - own.rect.left);
    EXPECT_EQ(program.rect.bottom - program.rect.top, own.rect.bottom - own.rect.top);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < program.pixels.size() && i < own.pixels.size(); ++i) {
        differing += program.pixels[i] != own.pixels[i];
    }
    EXPECT_EQ(differing, 0u) << "pixels differ at the last look";
    EXPECT_EQ(close_overlay(hwnd), 0u);
}

// The item editor's file name box keeps a name with letters code page 932 cannot hold, and
// 保存 writes the file under exactly that name, in Shift-JIS.
TEST_P(UnderCodePage, TheItemEditorSavesUnderANameOutside932) {
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    command(hwnd, kCommandItemEditor);
    HWND editor = overlay_->find_own_window("ItemEditorDialog", "アイテムエディタ");
    ASSERT_NE(editor, nullptr);
    // A failed save shows a box inside the click; the deadline keeps the test from waiting
    // on it for ever.
    const auto click = [&](int id) {
        DWORD_PTR ignored = 0;
        return SendMessageTimeoutW(GetDlgItem(editor, id), BM_CLICK, 0, 0, SMTO_NORMAL,
                                   launch::deadline_ms(launch::kUsualWaitMs), &ignored) != 0;
    };
    const auto set_text = [&](int id, const std::wstring& text) {
        SendMessageW(GetDlgItem(editor, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    };
    set_text(kItemEditorNameId, widen("ミスリルブレード"));
    set_text(kItemEditorValueId, L"5");
    ASSERT_TRUE(click(kItemEditorApplyId));
    const std::wstring name = L"items-Jos\u00e9e-\u0107.txt";  // e acute, c acute
    set_text(kItemEditorFileNameId, name);
    ASSERT_TRUE(click(kItemEditorSaveId)) << "保存 did not return (a box?)";
    EXPECT_EQ(read_file_bytes(widen(dir_.path()) + L"\\" + name),
              std::optional<std::string>("武器,ミスリルブレード,5\n"));
    EXPECT_EQ(close_overlay(hwnd), 0u);
}

}  // namespace
}  // namespace quilla::e2e

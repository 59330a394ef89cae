// The context menu's commands and the transparency hot key, driven as a user would drive
// them: right-click over a line, menu commands, a key held and released.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "config/options.h"
#include "ui/item_editor_ids.h"
#include "tests/support/overlay_fixture_win.h"
#include "tests/support/control_text_win.h"
#include "tests/support/keys_win.h"
#include "tests/support/message_box_win.h"
#include "tests/support/popup_menu_win.h"

namespace quilla::e2e {
namespace {

using test_support::control_text;
using test_support::HeldKey;
using test_support::visible_popup_menu;

// The overlay's line step: the height of its default font ("FontSize=16").
constexpr int kLineStep = 16;

constexpr uint32_t kRed = 0xFF0000;  // "BackColor=255" as the screen shows it

std::size_t red_pixels_of(HWND hwnd) {
    return count_pixels(capture_screen(window_rect(hwnd)), kRed);
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A point inside the overlay's line `index` (0 = the top line), on the screen.
POINT point_on_line(HWND overlay, int index) {
    const RECT r = window_rect(overlay);
    return {r.left + 8, r.top + index * kLineStep + kLineStep / 2};
}

// A window of the test's own, made the foreground window, as the program the user is
// typing into while the overlay watches the hot key. Keyboard input always has a window
// to go to then, as on a real desktop.
class ForegroundWindow {
  public:
    ForegroundWindow()
        : window_(CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "typing here", WS_POPUP | WS_VISIBLE,
                                  600, 600, 40, 40, nullptr, nullptr, nullptr, nullptr)) {
        SetForegroundWindow(window_.get());
    }

    bool active() const { return window_ && GetForegroundWindow() == window_.get(); }

  private:
    UniqueWindow window_;
};

// Weapon and shield names of the same byte length, each with one seal of one slot, so
// that their lines are equally wide: only the drawn text tells which line is which.
constexpr char kSlotItems[] =
    "武器,ミスリルブレード,9\n武器印,竜,1\n盾,白銀のラウンド盾,9\n盾印,鉄,1\n";
constexpr char kSlotInventory[] = "ミスリルブレード [竜] (Ｅ)\r\n白銀のラウンド盾 [鉄] (Ｅ)\r\n";

class Commands : public OverlayTest {
  protected:
    // Starts the overlay with F6 as its hot key (the switch as given), a red background,
    // short passes, at 100,100, and waits until it shows opaque red. Null on failure.
    HWND start_red_overlay_with_f6_hot_key(const std::string& hook_line) {
        write_settings(hook_line + "hookKey=117\r\nBackColor=255\r\nWait=20\r\nx=100\r\ny=100\r\n");
        HWND hwnd = start_overlay();
        if (!hwnd || !wait_until([&] { return red_pixels_of(hwnd) > 0; })) {
            ADD_FAILURE() << "the overlay did not show opaque red";
            return nullptr;
        }
        return hwnd;
    }

    // Right-clicks the overlay with the cursor at `where` (screen coordinates), so that
    // the overlay keeps it as the menu point and opens its popup menu, then closes the
    // menu without choosing anything.
    void open_and_close_menu_at(HWND overlay, POINT where) {
        ASSERT_TRUE(test_support::move_cursor_to(where));
        POINT client = where;
        ScreenToClient(overlay, &client);
        PostMessageA(overlay, WM_RBUTTONUP, 0, MAKELPARAM(client.x, client.y));
        ASSERT_TRUE(wait_until([&] {
            return visible_popup_menu(overlay_->process_id()) != nullptr;
        })) << "the context menu did not open";
        PostMessageA(overlay, WM_CANCELMODE, 0, 0);
        ASSERT_TRUE(wait_until([&] {
            return visible_popup_menu(overlay_->process_id()) == nullptr;
        })) << "the context menu did not close";
    }

    // Returns once the render worker has run at least one whole pass, its hot-key poll
    // included, that began after this call: hides the amulet line and shows it again,
    // waiting for each change to reach the window. The pass that shows the line again
    // read the option after the pass that hid it had ended, and that one read it after
    // the call began. `sample` runs on every look at the window meanwhile.
    bool wait_for_new_pass(
        HWND overlay, const std::function<void()>& sample = [] {}) {
        const int before = height_of(overlay);
        command(overlay, kOptionAmulet);
        const bool hidden = wait_until([&] {
            sample();
            return height_of(overlay) != before;
        });
        command(overlay, kOptionAmulet);
        const bool shown_again = wait_until([&] {
            sample();
            return height_of(overlay) == before;
        });
        return hidden && shown_again;
    }

    // Starts the stand-in host with the slot items' inventory and the overlay with the
    // given settings, and waits for the lines it should show. The overlay, or null.
    HWND start_with_slot_items(const std::string& settings, const std::string& inventory,
                               const std::vector<std::string>& lines) {
        write_items(kSlotItems);
        write_inventory(inventory);
        write_settings(settings + "x=100\r\ny=100\r\n");
        if (!start_host()) {
            return nullptr;
        }
        HWND hwnd = start_overlay();
        if (!hwnd) {
            return nullptr;
        }
        const ::testing::AssertionResult shown = wait_for_lines(hwnd, lines);
        if (!shown) {
            ADD_FAILURE() << shown.message();
            return nullptr;
        }
        return hwnd;
    }

    // Holds F6 over four whole passes of the worker and expects the background to stay
    // opaque red all the while.
    void expect_holding_f6_toggles_nothing(HWND overlay, const char* why) {
        ForegroundWindow typing;
        ASSERT_TRUE(wait_until([&] { return typing.active(); }));
        HeldKey f6(VK_F6);
        ASSERT_TRUE(f6.down());
        for (int round = 0; round < 4; ++round) {
            ASSERT_TRUE(wait_for_new_pass(overlay)) << "round " << round;
            EXPECT_GT(red_pixels_of(overlay), 0u) << why;
        }
    }
};

std::string weapon_line(int slots) {
    return "ミスリルブレード[竜○○○○○○○○○] (1/" + std::to_string(slots) + ")";
}
std::string shield_line(int slots) {
    return "白銀のラウンド盾[鉄○○○○○○○○○] (1/" + std::to_string(slots) + ")";
}

TEST_F(Commands, SlotCountCommandsChangeTheItemOnTheLineUnderTheMenuPoint) {
    HWND hwnd = start_with_slot_items("Utsuwa=1\r\n", kSlotInventory,
                                      {weapon_line(9), shield_line(9), "なし"});
    ASSERT_NE(hwnd, nullptr);

    struct Step {
        int line;
        int command;
        int weapon_slots;
        int shield_slots;
    };
    const Step steps[] = {
        {0, kCommandSlotsUp, 10, 9},   // the weapon line grows to "/10"
        {0, kCommandSlotsDown, 9, 9},  // and goes back to "/9"
        {1, kCommandSlotsUp, 9, 10},   // the shield line, not the weapon's
    };
    for (const Step& step : steps) {
        SCOPED_TRACE("line " + std::to_string(step.line) + ", command " +
                     std::to_string(step.command));
        open_and_close_menu_at(hwnd, point_on_line(hwnd, step.line));
        // As a menu choice arrives: posted.
        PostMessageA(hwnd, WM_COMMAND, static_cast<WPARAM>(step.command), 0);
        EXPECT_TRUE(wait_for_lines(
            hwnd, {weapon_line(step.weapon_slots), shield_line(step.shield_slots), "なし"}));
    }

    // Without the shield line, the weapon line alone shows that it kept its count.
    command(hwnd, kOptionShield);
    EXPECT_TRUE(wait_for_lines(hwnd, {weapon_line(9), "なし"}));
    close_overlay(hwnd);
}

// A slot-count change is an unsaved item change like the editor's: 終了 asks about it with
// the editor closed, owned by the overlay. Cancel keeps the program running; yes writes
// items.txt and ends.
TEST_F(Commands, ExitAfterASlotCountCommandAsksWhetherToSaveTheItems) {
    HWND hwnd = start_with_slot_items("Utsuwa=1\r\n", kSlotInventory,
                                      {weapon_line(9), shield_line(9), "なし"});
    ASSERT_NE(hwnd, nullptr);
    open_and_close_menu_at(hwnd, point_on_line(hwnd, 0));
    PostMessageA(hwnd, WM_COMMAND, kCommandSlotsUp, 0);
    ASSERT_TRUE(wait_for_lines(hwnd, {weapon_line(10), shield_line(9), "なし"}));
    for (const int answer : {IDCANCEL, IDYES}) {
        SCOPED_TRACE(answer);
        const test_support::SeenBox box = exit_answering(hwnd, answer);
        EXPECT_EQ(box.owner, hwnd);
        EXPECT_EQ(box.text, "保存していない変更があります。\r\nitems.txt に保存しますか？");
        EXPECT_EQ(box.buttons, "YN");
    }
    EXPECT_EQ(overlay_->wait_exit(), 0u);
    EXPECT_EQ(read_file(dir_.file("items.txt")),
              std::optional<std::string>(
                  "武器,ミスリルブレード,10\n盾,白銀のラウンド盾,9\n武器印,竜,1\n盾印,鉄,1\n"));
    EXPECT_FALSE(read_file(dir_.file("items-unsaved.txt")).has_value());
}

TEST_F(Commands, WithTheWeaponHiddenTheTopLineIsTheShields) {
    HWND hwnd = start_with_slot_items("Utsuwa=1\r\nWeapon=0\r\nAmulet=0\r\n", kSlotInventory,
                                      {shield_line(9)});
    ASSERT_NE(hwnd, nullptr);

    open_and_close_menu_at(hwnd, point_on_line(hwnd, 0));
    PostMessageA(hwnd, WM_COMMAND, kCommandSlotsUp, 0);
    EXPECT_TRUE(wait_for_lines(hwnd, {shield_line(10)}));

    command(hwnd, kOptionWeapon);
    EXPECT_TRUE(wait_for_lines(hwnd, {weapon_line(9), shield_line(10)}));
    close_overlay(hwnd);
}

// The host writes no seal list for a weapon without seals; the overlay then shows the
// name, a space and the brackets. 器数(+) over that line still changes the weapon's count.
TEST_F(Commands, SlotCountCommandsFindAWeaponShownWithoutSeals) {
    write_items(kSlotItems);
    write_inventory("ミスリルブレード (Ｅ)\r\n");
    write_settings("Utsuwa=1\r\nx=100\r\ny=100\r\n");
    ASSERT_NE(start_host(), nullptr);
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    const auto plain_weapon_line = [](int slots) {
        return "ミスリルブレード [○○○○○○○○○○] (0/" + std::to_string(slots) + ")";
    };
    ASSERT_TRUE(wait_for_lines(hwnd, {plain_weapon_line(9), "なし", "なし"}));

    open_and_close_menu_at(hwnd, point_on_line(hwnd, 0));
    PostMessageA(hwnd, WM_COMMAND, kCommandSlotsUp, 0);
    EXPECT_TRUE(wait_for_lines(hwnd, {plain_weapon_line(10), "なし", "なし"}));
    close_overlay(hwnd);
}

TEST_F(Commands, AValueAppliedInTheItemEditorIsTheSlotCountShown) {
    HWND hwnd = start_with_slot_items("Utsuwa=1\r\n", kSlotInventory,
                                      {weapon_line(9), shield_line(9), "なし"});
    ASSERT_NE(hwnd, nullptr);

    command(hwnd, kCommandItemEditor);
    HWND editor = overlay_->find_own_window("ItemEditorDialog", "アイテムエディタ");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(GetWindow(editor, GW_OWNER), hwnd);
    // Found by 探す, which selects the weapon's row and fills its name and value.
    SendMessageA(GetDlgItem(editor, kItemEditorSearchTextId), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>("ミスリル"));
    SendMessageA(GetDlgItem(editor, kItemEditorSearchId), BM_CLICK, 0, 0);
    ASSERT_EQ(control_text(GetDlgItem(editor, kItemEditorNameId)), "ミスリルブレード");
    ASSERT_EQ(control_text(GetDlgItem(editor, kItemEditorValueId)), "9");
    SendMessageA(GetDlgItem(editor, kItemEditorValueId), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>("12"));
    SendMessageA(GetDlgItem(editor, kItemEditorApplyId), BM_CLICK, 0, 0);
    EXPECT_TRUE(wait_for_lines(hwnd, {weapon_line(12), shield_line(9), "なし"}));
    close_overlay(hwnd);
}

TEST_F(Commands, TopMostTogglesTheWindowAndIsSavedAtExit) {
    struct Case {
        const char* start;
        std::vector<bool> topmost_after_each;
        const char* saved;
    };
    const Case cases[] = {
        {"TopMost=0\r\n", {true, false}, "\r\nTopMost=0\r\n"},
        {"TopMost=0\r\n", {true}, "\r\nTopMost=1\r\n"},
        {"TopMost=1\r\n", {false}, "\r\nTopMost=0\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("from ") + c.start + "chosen " +
                     std::to_string(c.topmost_after_each.size()) + " times");
        write_settings(c.start);
        HWND hwnd = start_overlay();
        ASSERT_NE(hwnd, nullptr);
        for (const bool topmost : c.topmost_after_each) {
            command(hwnd, kOptionTopMost);
            EXPECT_EQ(is_topmost(hwnd), topmost);
        }
        EXPECT_EQ(close_overlay(hwnd), 0u);
        EXPECT_TRUE(contains(saved_settings(), c.saved)) << saved_settings();
    }
}

TEST_F(Commands, HotKeyTogglesTransparencyOncePerPress) {
    HWND hwnd = start_red_overlay_with_f6_hot_key("hook=1\r\n");
    ASSERT_NE(hwnd, nullptr);
    ForegroundWindow typing;
    ASSERT_TRUE(wait_until([&] { return typing.active(); }));

    {
        HeldKey f6(VK_F6);
        ASSERT_TRUE(f6.down());
        ASSERT_TRUE(wait_until([&] { return red_pixels_of(hwnd) == 0; }))
            << "the background was not cut out";
        // Held across many passes: the overlay stays transparent all the while.
        for (int round = 0; round < 8; ++round) {
            std::size_t red = 0;
            ASSERT_TRUE(wait_for_new_pass(hwnd, [&] { red += red_pixels_of(hwnd); }))
                << "round " << round;
            EXPECT_EQ(red, 0u) << "transparency toggled again while held, round " << round;
        }
        f6.release();
        ASSERT_TRUE(wait_for_new_pass(hwnd));  // the worker has seen the key up
        EXPECT_EQ(red_pixels_of(hwnd), 0u) << "the release toggled";
    }
    {
        HeldKey f6(VK_F6);
        ASSERT_TRUE(f6.down());
        EXPECT_TRUE(wait_until([&] { return red_pixels_of(hwnd) > 0; }))
            << "a new press did not make the overlay opaque again";
    }
    EXPECT_EQ(close_overlay(hwnd), 0u);
    EXPECT_TRUE(contains(saved_settings(), "\r\nTransparent=0\r\n")) << saved_settings();
}

TEST_F(Commands, HotKeyDoesNothingWhileItsSwitchIsOff) {
    HWND hwnd = start_red_overlay_with_f6_hot_key("hook=0\r\n");
    ASSERT_NE(hwnd, nullptr);
    expect_holding_f6_toggles_nothing(hwnd, "transparent while the switch is off");
    ASSERT_TRUE(wait_for_new_pass(hwnd));
    EXPECT_GT(red_pixels_of(hwnd), 0u) << "transparent after the release";
    EXPECT_EQ(close_overlay(hwnd), 0u);
    EXPECT_TRUE(contains(saved_settings(), "\r\nTransparent=0\r\n")) << saved_settings();
}

TEST_F(Commands, ExitClosesTheProgramAndSavesTheSettings) {
    write_settings("x=100\r\ny=120\r\n");
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    command(hwnd, kOptionWeapon);  // Weapon=0, written only by this run
    command(hwnd, kOptionUtsuwa);
    PostMessageA(hwnd, WM_COMMAND, kCommandExit, 0);
    EXPECT_EQ(overlay_->wait_exit(), 0u) << "did not exit, or not with code 0";
    const std::optional<std::string> saved = settings_file();
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->rfind("x=100\r\ny=120\r\n", 0), 0u) << *saved;
    EXPECT_TRUE(contains(*saved, "\r\nWeapon=0\r\n")) << *saved;
    EXPECT_TRUE(contains(*saved, "\r\nUtsuwa=1\r\n")) << *saved;
    std::size_t lines = 0;
    for (std::size_t at = saved->find("\r\n"); at != std::string::npos;
         at = saved->find("\r\n", at + 2)) {
        ++lines;
    }
    EXPECT_EQ(lines, 23u) << *saved;
}

// The configuration dialog ("設定"), opened from the menu as a user would.

constexpr LPARAM kOkButton = MAKELPARAM(250, 300);
constexpr LPARAM kApplyButton = MAKELPARAM(160, 300);

class ConfigDialog : public Commands {
  protected:
    // Presses one of the dialog's painted buttons and waits until the dialog is gone.
    void close_dialog(HWND dialog, LPARAM button) {
        PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, button);
        EXPECT_TRUE(wait_until([&] { return !IsWindow(dialog); })) << "the dialog stayed open";
    }
};

TEST_F(ConfigDialog, OkWithoutChangesLeavesTheSettingsFileAsItWas) {
    // A face the font list holds, a negative height (which OK keeps) and a switched-on
    // hot key (which the dialog holds off while it is open).
    const std::string file =
        "x=100\r\ny=100\r\nTopMost=0\r\nTransparent=0\r\nWeapon=1\r\nShield=1\r\nAmulet=1\r\n"
        "Maru=1\r\nIn=0\r\nUtsuwa=0\r\nPos=1\r\nItemWindow=1\r\nhook=1\r\nhookKey=117\r\n"
        "Font=IPAゴシック\r\nFontSize=-20\r\nWeaponText=素手\r\nShieldText=なし\r\n"
        "AmuletText=お守りなし\r\nBackColor=255\r\nFontColor=65280\r\nEdgeColor=16711680\r\n"
        "Wait=250\r\n";
    write_settings(file);
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    HWND dialog = open_dialog(hwnd);
    ASSERT_NE(dialog, nullptr);
    close_dialog(dialog, kOkButton);
    EXPECT_EQ(close_overlay(hwnd), 0u);
    EXPECT_EQ(saved_settings(), file);
}

TEST_F(ConfigDialog, ExitWithTheDialogOpenSavesTheHotKeySwitchAsBeforeOrAsLastApplied) {
    for (const bool switch_off_and_apply : {false, true}) {
        SCOPED_TRACE(switch_off_and_apply ? "switched off and applied" : "untouched");
        write_settings("hook=1\r\nhookKey=117\r\n");
        HWND hwnd = start_overlay();
        ASSERT_NE(hwnd, nullptr);
        HWND dialog = open_dialog(hwnd);
        ASSERT_NE(dialog, nullptr);
        if (switch_off_and_apply) {
            HWND check_box = ChildWindowFromPointEx(dialog, {265, 259}, CWP_SKIPINVISIBLE);
            ASSERT_NE(check_box, dialog);
            SendMessageA(check_box, BM_CLICK, 0, 0);
            PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, kApplyButton);
        }
        EXPECT_EQ(close_overlay(hwnd), 0u);
        EXPECT_TRUE(
            contains(saved_settings(), switch_off_and_apply ? "\r\nhook=0\r\n" : "\r\nhook=1\r\n"))
            << saved_settings();
    }
}

TEST_F(ConfigDialog, ApplyTakesEffectAtOnceInTheMiddleOfATenMinutePause) {
    write_settings("Wait=600000\r\n");
    HWND hwnd = start_overlay();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(wait_for_lines(hwnd, {"なし", "なし", "なし"}));
    // The worker has drawn its first pass and now pauses for ten minutes.
    HWND dialog = open_dialog(hwnd);
    ASSERT_NE(dialog, nullptr);
    HWND weapon_text = ChildWindowFromPointEx(dialog, {210, 100}, CWP_SKIPINVISIBLE);
    ASSERT_NE(weapon_text, dialog);
    ASSERT_TRUE(SetWindowTextA(weapon_text, "素手のまま"));
    PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, kApplyButton);
    EXPECT_TRUE(wait_for_lines(hwnd, {"素手のまま", "なし", "なし"}))
        << "the applied text waited for the end of the pause";
    EXPECT_EQ(close_overlay(hwnd), 0u);
}

TEST_F(ConfigDialog, HotKeyDoesNotToggleTransparencyWhileTheDialogIsOpen) {
    HWND hwnd = start_red_overlay_with_f6_hot_key("hook=1\r\n");
    ASSERT_NE(hwnd, nullptr);
    ASSERT_NE(open_dialog(hwnd), nullptr);
    expect_holding_f6_toggles_nothing(hwnd, "toggled while the dialog is open");
    EXPECT_EQ(close_overlay(hwnd), 0u);
}

}  // namespace
}  // namespace quilla::e2e

// The configuration dialog driven in-process through its real window: the controls as
// created, Apply and OK, the hot-key capture with keys sent through SendInput, and the
// colour swatches with the colour chooser closed from another thread.
#include "ui/config_dialog_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "config/overlay_font_win.h"
#include "config/live_settings.h"
#include "input/input_codes.h"
#include "input/input_poller_win.h"
#include "tests/support/control_text_win.h"
#include "tests/support/keys_win.h"
#include "tests/support/layout_win.h"
#include "tests/support/message_box_win.h"
#include "tests/support/fake_clock.h"
#include "tests/support/slow_pad_win.h"

namespace quilla {
namespace {

constexpr char kFace[] = "IPAゴシック";  // installed with the project's fonts

using launch::wait_until;
using test_support::BoxAnswerer;
using test_support::send_key;

// Some of the dialog's child controls by their place under GW_CHILD, the order the dialog
// makes them in (until the capture panel is raised), and the ids of the two that have one.
constexpr int kFontListChild = 0, kSizeFieldChild = 1, kWeaponFieldChild = 2, kWaitFieldChild = 5,
              kItemWindowBoxChild = 6, kHookBoxChild = 7;
constexpr int kHotKeyId = 58, kPanelId = 59;

class ConfigDialogWin : public ::testing::Test {
  protected:
    // The dialog and its controls as they were asked for (controls change some of their
    // styles once created): class, id, style, extended style.
    static std::vector<std::string>& created() {
        static std::vector<std::string> windows;
        return windows;
    }
    static LRESULT CALLBACK record_creation(int code, WPARAM wparam, LPARAM lparam) {
        if (code == HCBT_CREATEWND) {
            const CREATESTRUCTA& cs = *reinterpret_cast<CBT_CREATEWNDA*>(lparam)->lpcs;
            if (!IS_INTRESOURCE(cs.lpszClass) && (cs.hwndParent == config_dialog_window() ||
                                                  lstrcmpA(cs.lpszClass, "ConfigDialog") == 0)) {
                char text[128];
                snprintf(text, sizeof text, "%s %d %08lX %lX", cs.lpszClass,
                         static_cast<int>(reinterpret_cast<INT_PTR>(cs.hMenu)),
                         static_cast<unsigned long>(cs.style),
                         static_cast<unsigned long>(cs.dwExStyle));
                created().push_back(text);
            }
        }
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }

    void SetUp() override {
        DisplaySettings s;
        s.record.back_color = RGB(255, 0, 0);
        s.record.weapon_text = "武器なし";
        s.record.item_window = 1;
        s.record.hook = 1;
        s.record.hook_key = VK_F6;
        s.font = create_overlay_font(kFace, -20);
        display_settings().publish(s);
        created().clear();
        hook_ = SetWindowsHookExA(WH_CBT, &record_creation, nullptr, GetCurrentThreadId());
        open();
    }
    void TearDown() override {
        UnhookWindowsHookEx(hook_);
        if (HWND left_open = config_dialog_window()) {
            DestroyWindow(left_open);
        }
    }

    void open() {
        dialog_ = open_config_dialog(nullptr, display_settings());
        ASSERT_NE(dialog_, nullptr);
        UpdateWindow(dialog_);
    }
    HWND child(int index) const {
        HWND c = GetWindow(dialog_, GW_CHILD);
        for (int i = 0; c && i < index; ++i) {
            c = GetWindow(c, GW_HWNDNEXT);
        }
        return c;
    }
    void click(int x, int y) const {
        SendMessageA(dialog_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    }
    static std::shared_ptr<const DisplaySettings> settings() {
        return display_settings().snapshot();
    }
    static FontDescription font_of(const DisplaySettings& s) {
        const std::optional<FontDescription> font = describe_font(font_handle(s.font));
        EXPECT_TRUE(font.has_value());
        return font.value_or(FontDescription{});
    }

    HWND dialog_ = nullptr;
    HHOOK hook_ = nullptr;
    // A pad for a dialog to ask, and the clock of its pause; they outlive the dialog,
    // which TearDown closes.
    test_support::SlowMissingPad slow_pad_;
    test_support::FakeClock clock_;
};

TEST_F(ConfigDialogWin, BuildsItsControlsAndHoldsTheHotKeySwitchOffWhileOpen) {
    RECT frame{};
    GetWindowRect(dialog_, &frame);
    EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 420) / 2);
    EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - 320) / 2);
    EXPECT_EQ(frame.right - frame.left, 420);
    EXPECT_EQ(frame.bottom - frame.top, 320);

    // The dialog, then its controls in their order with what each shows (the shield and
    // amulet texts are the settings' defaults).
    const struct {
        const char* created;
        const char* text;
    } controls[] = {
        {"COMBOBOX 0 50200003 0", kFace},          // a drop-down list, not sorted
        {"EDIT 0 50802000 0", "-20"},              // size: digits only
        {"EDIT 0 50800000 0", "武器なし"},         // weapon text
        {"EDIT 0 50800000 0", "なし"},             // shield text
        {"EDIT 0 50800000 0", "なし"},             // amulet text
        {"EDIT 0 50802000 0", "100"},              // interval: digits only
        {"BUTTON 0 50000003 0", ""},               // inventory window check box
        {"BUTTON 0 50000003 0", ""},               // hot-key switch
        {"BUTTON 58 50000000 0", "F6"},            // hot-key button
        {"STATIC 59 40000000 0", "Push Any Key"},  // capture panel, hidden
    };
    ASSERT_EQ(created().size(), 1 + std::size(controls));
    EXPECT_EQ(created()[0], "ConfigDialog 0 80000000 0");
    for (std::size_t i = 0; i < std::size(controls); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(created()[i + 1], controls[i].created);
        EXPECT_EQ(test_support::control_text(child(static_cast<int>(i))), controls[i].text);
    }
    EXPECT_EQ(child(10), nullptr);
    EXPECT_EQ(SendMessageA(child(kItemWindowBoxChild), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(child(kHookBoxChild), BM_GETCHECK, 0, 0), BST_CHECKED);  // hook=1

    // Every control inside the dialog, none shown over another; the labelled ones go down
    // the dialog in the order of their labels (武器, 盾, お守り, 更新間隔(ms), 起動時に持ち物
    // ウィンドウを開く, キー入力で透過切替); the hidden capture panel covers it whole.
    EXPECT_EQ(test_support::layout_faults(dialog_), std::vector<std::string>{});
    for (int i = kWeaponFieldChild; i < kHookBoxChild; ++i) {
        EXPECT_LT(test_support::rect_in_parent(child(i)).top,
                  test_support::rect_in_parent(child(i + 1)).top)
            << i;
    }
    const RECT panel = test_support::rect_in_parent(GetDlgItem(dialog_, kPanelId));
    const RECT whole{0, 0, 420, 320};
    EXPECT_TRUE(EqualRect(&panel, &whole));

    // Every face once (the list's search ignores case), vertical faces included.
    std::set<std::string> faces;
    const int count = static_cast<int>(SendMessageA(child(kFontListChild), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char face[LF_FACESIZE + 1] = {};
        SendMessageA(child(kFontListChild), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(face));
        faces.insert(CharUpperA(face));
    }
    EXPECT_EQ(faces.size(), static_cast<std::size_t>(count));
    EXPECT_TRUE(faces.contains("@IPAゴシック"));

    EXPECT_EQ(settings()->record.hook, 0);
    EXPECT_EQ(open_config_dialog(nullptr, display_settings()), dialog_);  // no second dialog
    click(340, 300);                                                      // Cancel
    EXPECT_EQ(config_dialog_window(), nullptr);
    EXPECT_EQ(settings()->record.hook, 1);
    EXPECT_EQ(font_of(*settings()).height, -20);
}

TEST_F(ConfigDialogWin, ApplyAndOkReadTheFieldsByTheirRules) {
    // 254 single bytes, then double-byte characters up to 300 bytes: the one across byte
    // 255 is dropped with the rest.
    const std::string kept(254, 'x');
    SetWindowTextA(child(kWeaponFieldChild),
                   (kept + "武武武武武武武武武武武武武武武武武武武武武武武").c_str());
    SendMessageA(child(kHookBoxChild), BM_SETCHECK, BST_UNCHECKED, 0);  // the hot-key switch
    struct Step {
        const char* size;
        const char* wait;
        int button_x;  // 160 Apply, 250 OK
        LONG height;
        int32_t wait_after;
    };
    const Step steps[] = {
        {"-20", "0", 160, 0, 100},  // Apply: a negative height gives 0
        {"12abc", "50", 160, 12, 50},
        {"", "", 160, 0, 50},
        {"-20", "50", 250, -20, 50},  // OK keeps it negative
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string("size \"") + step.size + "\", interval \"" + step.wait + "\"");
        SetWindowTextA(child(kSizeFieldChild), step.size);
        SetWindowTextA(child(kWaitFieldChild), step.wait);
        click(step.button_x, 300);
        const auto now = settings();
        EXPECT_EQ(font_of(*now).height, step.height);
        EXPECT_EQ(font_of(*now).face, kFace);
        EXPECT_EQ(now->record.wait, step.wait_after);
        EXPECT_EQ(now->record.weapon_text, kept);
        EXPECT_EQ(now->record.hook, 0);  // held off while the dialog is open
    }
    EXPECT_EQ(config_dialog_window(), nullptr);
    EXPECT_EQ(settings()->record.hook, 0);  // as the check box was when OK was pressed
}

// A face saved under its English name, which the system lists under its Japanese one (as
// a Windows in English lists ＭＳ ゴシック as MS Gothic), shows as the face of the same font,
// not as the first face; Apply keeps the name as it was saved while that entry is chosen.
TEST_F(ConfigDialogWin, ASavedFaceShowsAsTheListedFaceOfItsFontAndKeepsItsName) {
    DestroyWindow(dialog_);
    DisplaySettings s = *settings();
    s.font = create_overlay_font("IPAPGothic", -20);
    display_settings().publish(s);
    open();
    EXPECT_EQ(test_support::control_text(child(kFontListChild)), "IPA Pゴシック");
    click(160, 300);  // Apply
    EXPECT_EQ(font_of(*settings()).face, "IPAPGothic");
    SendMessageA(child(kFontListChild), CB_SETCURSEL, 0, 0);  // another face
    click(250, 300);                                          // OK
    EXPECT_EQ(font_of(*settings()).face, "IPAゴシック");
}

TEST_F(ConfigDialogWin, CaptureTakesTheFirstKeyDownAndOnlyApplyOrOkStoresIt) {
    struct Step {
        WORD key;
        const char* caption;
        int button_x;  // 340 Cancel, 160 Apply, 250 OK
        int32_t stored;
    };
    const Step steps[] = {
        {VK_F5, "F5", 340, VK_F6},  // Cancel keeps the old hot key
        {0xC1, "", 160, 0xC1},      // scanned, but without a name
        {0xDF, "", 250, 0xDF},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE("key " + std::to_string(step.key));
        if (!config_dialog_window()) {
            open();
        }
        HWND button = GetDlgItem(dialog_, kHotKeyId);
        HWND panel = GetDlgItem(dialog_, kPanelId);
        ASSERT_TRUE(wait_until([] { return InputPoller().poll() == kNoInput; })) << "no key down";
        SendMessageA(button, BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowVisible(panel));
        EXPECT_EQ(GetWindow(dialog_, GW_CHILD), panel) << "the panel is not above the controls";
        const int32_t before = settings()->record.hook_key;
        ASSERT_TRUE(send_key(step.key));
        const bool ended = wait_until([&] { return !IsWindowVisible(panel); });
        send_key(step.key, KEYEVENTF_KEYUP);
        ASSERT_TRUE(ended) << "the capture did not end; the poller gives " << InputPoller().poll();
        EXPECT_EQ(test_support::control_text(button), step.caption);
        EXPECT_EQ(settings()->record.hook_key, before);  // not before Apply or OK
        click(step.button_x, 300);
        EXPECT_EQ(settings()->record.hook_key, step.stored);
    }
}

// During a capture beside a pad that takes 300 ms to say it is not there, the pad is asked
// once at first and then not again until its pause has passed on the dialog's clock, and
// then once more: a message sent to the dialog from another thread (as Windows and other
// programs send them) waits for at most one of those calls, and a key pressed afterwards is
// still taken.
TEST_F(ConfigDialogWin, CaptureBesideAPadSlowToFailKeepsAnsweringAndStillTakesAKey) {
    DestroyWindow(dialog_);
    dialog_ = open_config_dialog(nullptr, display_settings(), slow_pad_, clock_);
    ASSERT_NE(dialog_, nullptr);
    HWND button = GetDlgItem(dialog_, kHotKeyId);
    HWND panel = GetDlgItem(dialog_, kPanelId);
    ASSERT_TRUE(wait_until([] { return InputPoller().poll() == kNoInput; })) << "no key down";
    const int calls_before = slow_pad_.calls();
    const auto calls = [&] { return slow_pad_.calls() - calls_before; };

    // A message waited for the pad calls that began while it was on its way (counted,
    // not timed, so a busy machine's slow answer is not taken for a pad call).
    std::atomic<bool> stop{false};
    std::atomic<int> answers{0};
    int most_calls_waited = 0;
    int unanswered = 0;
    std::thread prober([&, dialog = dialog_] {
        while (!stop) {
            const int calls_at_send = slow_pad_.calls();
            DWORD_PTR ignored = 0;
            if (!SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored)) {
                ++unanswered;
            }
            ++answers;
            most_calls_waited = std::max(most_calls_waited, slow_pad_.calls() - calls_at_send);
            Sleep(20);  // paces the probes; nothing waits for it
        }
    });
    // Answers seen on the dialog's own thread, which serves the capture timer meanwhile.
    const auto answered_more = [&](int more) {
        const int target = answers.load() + more;
        return wait_until([&] { return answers.load() >= target; });
    };
    SendMessageA(button, BM_CLICK, 0, 0);
    const bool panel_shown = IsWindowVisible(panel) != FALSE;
    const bool asked_first = wait_until([&] { return calls() >= 1; });
    const bool answered_while_paused = answered_more(20);
    const int calls_while_paused = calls();
    clock_.advance(kPadRetryMs);
    const bool asked_again = wait_until([&] { return calls() >= 2; });
    const bool answered_after = answered_more(10);
    stop = true;
    prober.join();
    ASSERT_TRUE(panel_shown);
    ASSERT_TRUE(asked_first) << "the pad was not asked";
    ASSERT_TRUE(answered_while_paused && answered_after) << "the prober saw too few answers";
    EXPECT_EQ(calls_while_paused, 1) << "the pad was asked again within its pause";
    EXPECT_TRUE(asked_again) << "the pad was not asked again after its pause";
    EXPECT_EQ(calls(), 2);
    EXPECT_EQ(unanswered, 0);
    EXPECT_LE(most_calls_waited, 1) << "of " << answers.load() << " messages";
    ASSERT_TRUE(IsWindowVisible(panel)) << "the capture ended without a key";

    ASSERT_TRUE(send_key(VK_F5));
    const bool ended = wait_until([&] { return !IsWindowVisible(panel); });
    send_key(VK_F5, KEYEVENTF_KEYUP);
    ASSERT_TRUE(ended) << "the capture did not take the key";
    EXPECT_EQ(test_support::control_text(button), "F5");
}

TEST_F(ConfigDialogWin, SwatchesTakeClicksOnlyDownTo50AndACancelledChooserChangesNothing) {
    const auto swatch_pixel = [&] {
        UpdateWindow(dialog_);
        HDC dc = GetDC(dialog_);
        const COLORREF pixel = GetPixel(dc, 290, 53);  // drawn down to 54
        ReleaseDC(dialog_, dc);
        return pixel;
    };
    ASSERT_EQ(swatch_pixel(), RGB(255, 0, 0));
    {
        // The chooser is modal on this thread: cancelled from the answerer's.
        BoxAnswerer canceller(GetCurrentProcessId(), IDCANCEL);
        PostMessageA(dialog_, WM_LBUTTONUP, 0, MAKELPARAM(290, 52));  // ends the drag
        click(290, 52);
        EXPECT_EQ(canceller.seen().size(), 0u) << "a chooser opened below the click area";
        click(290, 50);
        EXPECT_EQ(canceller.seen().size(), 1u);
    }
    EXPECT_EQ(swatch_pixel(), RGB(255, 0, 0));
    click(160, 300);  // Apply
    EXPECT_EQ(settings()->record.back_color, RGB(255, 0, 0));
}

}  // namespace
}  // namespace quilla

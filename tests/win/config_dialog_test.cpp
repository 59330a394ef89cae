// The configuration dialog driven in-process through its real window: the controls as
// built, Apply and OK, the hot-key capture with keys sent through SendInput, and the
// colour swatches with the colour chooser cancelled from another thread.
#include "config/config_dialog_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/overlay_font_win.h"
#include "app/shared_state.h"
#include "input/input_codes.h"
#include "input/input_poller_win.h"
#include "tests/support/test_process_win.h"

namespace quilla {
namespace {

constexpr char kFace[] = "IPAゴシック";  // installed with the project's fonts

bool wait_until_true(const auto& condition) {
    return test_support::wait_until(condition, 10000);
}

std::string text_of(HWND hwnd) {
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

bool send_key(WORD vk, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = flags;
    return SendInput(1, &input, sizeof input) == 1;
}

// A window as its creator asked for it (the controls change some of their styles later).
struct Created {
    HWND parent;
    std::string class_name;
    INT_PTR id;
    int x, y, width, height;
    DWORD style, ex_style;
};

class ConfigDialogWin : public ::testing::Test {
  protected:
    static std::vector<Created>& created() {
        static std::vector<Created> windows;
        return windows;
    }
    static LRESULT CALLBACK record_creation(int code, WPARAM wparam, LPARAM lparam) {
        if (code == HCBT_CREATEWND) {
            const CREATESTRUCTA& cs = *reinterpret_cast<CBT_CREATEWNDA*>(lparam)->lpcs;
            created().push_back({cs.hwndParent, IS_INTRESOURCE(cs.lpszClass) ? "" : cs.lpszClass,
                                 reinterpret_cast<INT_PTR>(cs.hMenu), cs.x, cs.y, cs.cx, cs.cy,
                                 static_cast<DWORD>(cs.style), cs.dwExStyle});
        }
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }

    void SetUp() override {
        DisplaySettings s;
        s.back_color = RGB(255, 0, 0);
        s.weapon_text = "武器なし";
        s.item_window = 1;
        s.hook = 1;
        s.hook_key = VK_F6;
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
    static LOGFONTA font_of(const DisplaySettings& s) {
        LOGFONTA lf;
        EXPECT_TRUE(read_logfont(font_handle(s.font), lf));
        return lf;
    }

    HWND dialog_ = nullptr;
    HHOOK hook_ = nullptr;
};

TEST_F(ConfigDialogWin, BuildsItsControlsAndHoldsTheHotKeySwitchOffWhileOpen) {
    struct Window {
        const char* class_name;
        int id, x, y, width, height;
        DWORD style;
        const char* text;
    };
    const Window expected[] = {
        {"ConfigDialog", 0, (GetSystemMetrics(SM_CXSCREEN) - 420) / 2,
         (GetSystemMetrics(SM_CYSCREEN) - 320) / 2, 420, 320, WS_POPUP, ""},
        {"COMBOBOX", 0, 10, 30, 200, 200, 0x50200003, kFace},
        {"EDIT", 0, 220, 30, 40, 25, 0x50802000, "-20"},
        {"EDIT", 0, 200, 90, 200, 25, 0x50800000, "武器なし"},
        {"EDIT", 0, 200, 115, 200, 25, 0x50800000, ""},
        {"EDIT", 0, 200, 140, 200, 25, 0x50800000, ""},
        {"EDIT", 0, 200, 190, 100, 25, 0x50802000, "100"},
        {"BUTTON", 0, 260, 224, 12, 12, 0x50000003, ""},
        {"BUTTON", 0, 260, 254, 12, 12, 0x50000003, ""},
        {"BUTTON", 58, 280, 248, 100, 24, 0x50000000, "F6"},
        {"STATIC", 59, 0, 0, 420, 320, 0x40000000, "Push Any Key"},
    };
    std::vector<Created> made;  // the dialog and its own children, in creation order
    for (const Created& c : created()) {
        if (c.class_name == kConfigDialogClass || c.parent == dialog_) {
            made.push_back(c);
        }
    }
    ASSERT_EQ(made.size(), std::size(expected));
    for (std::size_t i = 0; i < made.size(); ++i) {
        const Window& want = expected[i];
        SCOPED_TRACE(std::string("window ") + std::to_string(i));
        EXPECT_EQ(made[i].class_name, want.class_name);
        EXPECT_EQ(made[i].id, want.id);
        EXPECT_EQ(made[i].x, want.x);
        EXPECT_EQ(made[i].y, want.y);
        EXPECT_EQ(made[i].width, want.width);
        EXPECT_EQ(made[i].height, want.height);
        EXPECT_EQ(made[i].style, want.style);
        EXPECT_EQ(made[i].ex_style, 0u);
        EXPECT_EQ(text_of(i == 0 ? dialog_ : child(static_cast<int>(i) - 1)), want.text);
    }
    EXPECT_EQ(child(10), nullptr);
    EXPECT_EQ(SendMessageA(child(6), BM_GETCHECK, 0, 0), BST_CHECKED);  // ItemWindow=1
    EXPECT_EQ(SendMessageA(child(7), BM_GETCHECK, 0, 0), BST_CHECKED);  // hook=1

    // Every face once (the list's search ignores case), vertical faces included.
    const int faces = static_cast<int>(SendMessageA(child(0), CB_GETCOUNT, 0, 0));
    bool vertical = false;
    for (int i = 0; i < faces; ++i) {
        char face[LF_FACESIZE + 1] = {};
        SendMessageA(child(0), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(face));
        vertical = vertical || face[0] == '@';
        for (int j = 0; j < i; ++j) {
            char other[LF_FACESIZE + 1] = {};
            SendMessageA(child(0), CB_GETLBTEXT, j, reinterpret_cast<LPARAM>(other));
            EXPECT_NE(lstrcmpiA(face, other), 0) << face;
        }
    }
    EXPECT_TRUE(vertical);

    EXPECT_EQ(settings()->hook, 0);
    EXPECT_EQ(open_config_dialog(nullptr, display_settings()), dialog_);  // no second dialog
    click(340, 300);                                                      // Cancel
    EXPECT_EQ(config_dialog_window(), nullptr);
    EXPECT_EQ(settings()->hook, 1);
    EXPECT_EQ(font_of(*settings()).lfHeight, -20);
}

TEST_F(ConfigDialogWin, ApplyAndOkReadTheFieldsByTheirRules) {
    HWND size = child(1);
    HWND weapon = child(2);
    HWND wait = child(5);
    // 254 single bytes, then double-byte characters: the one across byte 255 is dropped.
    std::string long_text(254, 'x');
    while (long_text.size() < 300) {
        long_text += "武";
    }
    struct Step {
        const char* size;  // nullptr: as the dialog opened ("-20")
        const char* wait;
        std::string weapon;
        int button_x;  // 160 Apply, 250 OK
        LONG height;
        int32_t wait_after;
        std::string weapon_after;
    };
    const Step steps[] = {
        {nullptr, "0", "武器なし", 160, 0, 100, "武器なし"},  // Apply: a negative height is 0
        {"12abc", "50", long_text, 160, 12, 50, std::string(254, 'x')},
        {"", "", "", 160, 0, 50, ""},
        {"-20", "50", "a", 250, -20, 50, "a"},  // OK keeps it negative
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string("size ") + (step.size ? step.size : "as opened"));
        ASSERT_EQ(config_dialog_window(), dialog_);
        if (step.size) {
            SetWindowTextA(size, step.size);
        }
        SetWindowTextA(wait, step.wait);
        SetWindowTextA(weapon, step.weapon.c_str());
        SendMessageA(child(7), BM_SETCHECK, BST_UNCHECKED, 0);
        click(step.button_x, 300);
        const auto now = settings();
        EXPECT_EQ(font_of(*now).lfHeight, step.height);
        EXPECT_STREQ(font_of(*now).lfFaceName, kFace);
        EXPECT_EQ(now->wait, step.wait_after);
        EXPECT_EQ(now->weapon_text, step.weapon_after);
        EXPECT_EQ(now->item_window, 1);
    }
    EXPECT_EQ(config_dialog_window(), nullptr);
    EXPECT_EQ(settings()->hook, 0);  // as the check box was when OK was pressed
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
        HWND button = GetDlgItem(dialog_, kHotKeyButtonId);
        HWND panel = GetDlgItem(dialog_, kCapturePanelId);
        ASSERT_TRUE(wait_until_true([] { return poll_input() == kNoInput; }));
        SendMessageA(button, BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowVisible(panel));
        const int32_t before = settings()->hook_key;
        ASSERT_TRUE(send_key(step.key, 0));
        const bool ended = wait_until_true([&] { return !IsWindowVisible(panel); });
        send_key(step.key, KEYEVENTF_KEYUP);
        ASSERT_TRUE(ended) << "the capture did not end; the poller gives " << poll_input();
        EXPECT_EQ(text_of(button), step.caption);
        EXPECT_EQ(settings()->hook_key, before);  // not before Apply or OK
        click(step.button_x, 300);
        EXPECT_EQ(settings()->hook_key, step.stored);
    }
}

// Watches for colour choosers of this thread from another thread and closes each with
// Cancel, or with OK after typing red 0, green 128, blue 255 into it.
class ChooserCloser {
  public:
    explicit ChooserCloser(bool confirm)
        : thread_([this, confirm, id = GetCurrentThreadId()] {
              while (!stop_) {
                  HWND chooser = nullptr;
                  EnumThreadWindows(
                      id,
                      [](HWND hwnd, LPARAM found) -> BOOL {
                          char name[16] = {};
                          GetClassNameA(hwnd, name, sizeof name);
                          if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(hwnd)) {
                              *reinterpret_cast<HWND*>(found) = hwnd;
                          }
                          return TRUE;
                      },
                      reinterpret_cast<LPARAM>(&chooser));
                  if (chooser) {
                      ++seen_;
                      if (confirm) {
                          SetDlgItemTextA(chooser, 706, "0");  // the red, green, blue fields
                          SetDlgItemTextA(chooser, 707, "128");
                          SetDlgItemTextA(chooser, 708, "255");
                      }
                      PostMessageA(chooser, WM_COMMAND, confirm ? IDOK : IDCANCEL, 0);
                      while (IsWindow(chooser)) {
                          Sleep(5);
                      }
                  }
                  Sleep(5);
              }
          }) {}
    ~ChooserCloser() {
        stop_ = true;
        thread_.join();
    }
    int seen() const { return seen_; }

  private:
    std::atomic<bool> stop_{false};
    std::atomic<int> seen_{0};
    std::thread thread_;
};

TEST_F(ConfigDialogWin, SwatchesTakeClicksDownTo50AndChangeOnlyWhenTheChooserConfirms) {
    const auto swatch_pixel = [&] {
        UpdateWindow(dialog_);
        HDC dc = GetDC(dialog_);
        const COLORREF pixel = GetPixel(dc, 290, 53);  // drawn down to 54
        ReleaseDC(dialog_, dc);
        return pixel;
    };
    ASSERT_EQ(swatch_pixel(), RGB(255, 0, 0));
    {
        ChooserCloser closer(false);
        PostMessageA(dialog_, WM_LBUTTONUP, 0, MAKELPARAM(290, 52));  // ends the drag
        click(290, 52);
        EXPECT_EQ(closer.seen(), 0) << "a chooser opened below the click area";
        click(290, 50);
        EXPECT_EQ(closer.seen(), 1);
    }
    EXPECT_EQ(swatch_pixel(), RGB(255, 0, 0));
    {
        ChooserCloser closer(true);
        click(290, 40);
        EXPECT_EQ(closer.seen(), 1);
    }
    EXPECT_EQ(swatch_pixel(), RGB(0, 128, 255));
    EXPECT_EQ(settings()->back_color, RGB(255, 0, 0));  // the overlay's only after Apply
    click(160, 300);
    EXPECT_EQ(settings()->back_color, RGB(0, 128, 255));
}

}  // namespace
}  // namespace quilla

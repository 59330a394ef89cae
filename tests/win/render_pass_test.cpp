// The render pass on a layered window of this process beside an in-process inventory list
// box: which equipment a read that ends early leaves on the overlay, the notice for a host
// that refuses the read, the lines published where they were drawn, where the overlay is
// placed (and when it is hidden), and passes beside a pad that is slow to fail.
#include "overlay/render_pass_win.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "app/slot_target.h"
#include "config/live_settings.h"
#include "config/options.h"
#include "config/overlay_font_win.h"
#include "items/item_db.h"
#include "overlay/overlay_state.h"
#include "tests/support/fake_clock.h"
#include "tests/support/inventory_window_win.h"
#include "tests/support/local_window_win.h"
#include "tests/support/slow_pad_win.h"

namespace quilla {
namespace {

using test_support::FailingCalls;
using test_support::local_inventory;
using test_support::MessageFault;
using Lines = std::vector<std::string>;

constexpr char kFace[] = "IPAゴシック";  // installed with the project's fonts
constexpr MessageFault kAnswers{INT_MAX, 0};

class RenderPassWin : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(find_inventory_window(), nullptr) << "an inventory window is already open";
        overlay_.reset(CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0,
                                       0, 20, 20, nullptr, nullptr, GetModuleHandleA(nullptr),
                                       nullptr));
        ASSERT_TRUE(overlay_);
        SurfaceResult result = create_drawing_surface(overlay_.get(), 600, 200);
        ASSERT_EQ(result.failed_step, kSurfaceOk);
        surface_ = std::move(result.surface);
        ItemTables tables;
        tables.weapon["ソード"] = 3;
        tables.shield["盾"] = 2;
        item_database().replace(tables);
        for (const int32_t id : {kOptionWeapon, kOptionShield, kOptionAmulet}) {
            options().set(id, 1);
        }
        for (const int32_t id : {kOptionTransparent, kOptionIn, kOptionUtsuwa, kOptionMaru}) {
            options().set(id, 0);
        }
        use_font_height(-20);  // a character height: lines stand at their measured heights
        calls_.fault = kAnswers;
        pass_ =
            std::make_unique<RenderPass>(overlay_.get(), *surface_, InventoryReadLimits{}, calls_);
    }

    static void use_font_height(int32_t height, int32_t hook = 0) {
        DisplaySettings s;
        s.record.hook = hook;
        s.record.hook_key = VK_F24;
        s.record.weapon_text = "武器なし";
        s.record.shield_text = "盾なし";
        s.record.amulet_text = "なし";
        s.font = create_overlay_font(kFace, height);
        display_settings().publish(s);
    }

    // Runs a pass with the inventory window holding lines (none open for null); returns
    // the texts the pass drew.
    void TearDown() override { position_mode().store(kPositionFree); }

    // Runs a pass, then handles what it posted to this thread (the overlay's showing).
    void run_pass(RenderPass* pass = nullptr) {
        (pass ? pass : pass_.get())->run();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }

    Lines pass(const Lines* inventory, MessageFault fault) {
        const UniqueWindow window = inventory ? local_inventory(*inventory) : UniqueWindow();
        calls_.fault = fault;
        pass_->run();
        Lines texts;
        for (const OverlayLine& line : *drawn_lines().snapshot()) {
            texts.push_back(line.text);
        }
        return texts;
    }

    UniqueWindow overlay_;
    std::unique_ptr<DrawingSurface> surface_;
    FailingCalls calls_;                     // outlives the passes that send through it
    test_support::SlowMissingPad slow_pad_;  // a pad for a pass to ask; outlives the pass
    std::unique_ptr<RenderPass> pass_;
};

// The slot-count commands find the lines where the pass drew them, also with a font
// height given as a character height (FontSize=-20).
TEST_F(RenderPassWin, AReadCutShortKeepsTheEquipmentARefusedOneShowsTheNotice) {
    const Lines both = {"ソード (Ｅ)", "盾 (Ｅ)"};
    const Lines shield_only = {"盾 (Ｅ)"};
    const Lines both_shown = {"ソード []", "盾 []", "なし"};
    struct Step {
        const char* name;
        const Lines* inventory;
        MessageFault fault;
        Lines drawn;
        std::string first_target;  // the slot-count commands' item on the first line
        std::string second_target;
    };
    const Step steps[] = {
        {"whole read", &both, kAnswers, both_shown, "ソード", "盾"},
        {"host silent after the first line", &both, {3, ERROR_TIMEOUT}, both_shown, "ソード", "盾"},
        {"host silent from the start",
         &shield_only,
         {0, ERROR_TIMEOUT},
         both_shown,
         "ソード",
         "盾"},
        {"host with higher rights",
         &shield_only,
         {0, ERROR_ACCESS_DENIED},
         {"持ち物ウィンドウを読めません。Quilla WS も管理者として実行してください"},
         "",
         ""},
        {"whole read again",
         &shield_only,
         kAnswers,
         {"武器なし", "盾 []", "なし"},
         "武器なし",
         "盾"},
        {"inventory window closed",
         nullptr,
         kAnswers,
         {"武器なし", "盾なし", "なし"},
         "武器なし",
         "盾なし"},
    };
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectGuard font(dc.get(), font_handle(display_settings().snapshot()->font));
    SIZE weapon{};
    ASSERT_TRUE(GetTextExtentPoint32A(dc.get(), "ソード []", 9, &weapon));
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(pass(step.inventory, step.fault), step.drawn);
        const auto drawn = drawn_lines().snapshot();
        EXPECT_EQ(slot_target_name(weapon.cy - 1, *drawn), step.first_target);
        EXPECT_EQ(slot_target_name(weapon.cy, *drawn), step.second_target);
    }
}

// A host that does not answer, while the user drags the overlay: each message moves the
// overlay to 60,70 and then fails as a silent host's does.
class MovingRead : public InventoryCalls {
  public:
    explicit MovingRead(HWND overlay) : overlay_(overlay) {}
    LRESULT send_timeout(HWND, UINT, WPARAM, LPARAM, UINT, UINT, PDWORD_PTR) override {
        SetWindowPos(overlay_, nullptr, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetLastError(ERROR_TIMEOUT);
        return 0;
    }

  private:
    HWND overlay_;
};

// Free, the pass leaves the window where the user put it, even when it moves during the
// pass; pinned, it follows the host's client area, is hidden in place while the host is
// minimized and comes back with it; without a host it stays where it is.
TEST_F(RenderPassWin, FreeKeepsTheWindowWherePutPinnedFollowsTheHostAndHidesWhileItIsMinimized) {
    test_support::LocalClass host_class(kHostMainClass);
    ASSERT_TRUE(host_class.ok());
    UniqueWindow host = test_support::local_window(kHostMainClass, "host");
    ASSERT_NE(host.get(), nullptr);
    SetWindowPos(host.get(), nullptr, 300, 200, 486, 349, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(host.get(), SW_SHOWNOACTIVATE);
    RECT client{};
    ASSERT_TRUE(GetClientRect(host.get(), &client));
    POINT corner{client.left, client.bottom};
    ASSERT_TRUE(ClientToScreen(host.get(), &corner));
    const LONG overlay_height = [&] {
        position_mode().store(kPositionFree);
        run_pass();
        RECT r{};
        GetWindowRect(overlay_.get(), &r);
        return r.bottom - r.top;
    }();
    const POINT anchor{corner.x, corner.y - overlay_height};

    enum class Host { kShown, kMinimized, kGone };
    struct Step {
        const char* what;
        int32_t mode;
        Host host;
        std::optional<POINT> moved_to;  // by the user, before the pass
        bool moved_during_pass;         // once more, while the pass reads the inventory
        POINT at;
        bool visible;
    };
    const Step steps[] = {
        {"free, dragged", kPositionFree, Host::kShown, POINT{150, 120}, false, {150, 120}, true},
        {"free, dragged during the pass",
         kPositionFree,
         Host::kShown,
         POINT{10, 10},
         true,
         {60, 70},
         true},
        {"pinned", kPositionPinned, Host::kShown, POINT{5, 5}, false, anchor, true},
        {"pinned, host minimized", kPositionPinned, Host::kMinimized, std::nullopt, false, anchor,
         false},
        {"pinned, host restored", kPositionPinned, Host::kShown, std::nullopt, false, anchor, true},
        {"pinned, host gone", kPositionPinned, Host::kGone, POINT{40, 30}, false, {40, 30}, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        position_mode().store(step.mode);
        if (step.host == Host::kMinimized) {
            ShowWindow(host.get(), SW_SHOWMINNOACTIVE);
            ASSERT_TRUE(IsIconic(host.get()));
        } else if (step.host == Host::kShown && IsIconic(host.get())) {
            ShowWindow(host.get(), SW_SHOWNOACTIVATE);
        } else if (step.host == Host::kGone) {
            host.reset();
        }
        if (step.moved_to) {
            SetWindowPos(overlay_.get(), nullptr, step.moved_to->x, step.moved_to->y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        const UniqueWindow inventory = local_inventory({});
        calls_.fault = kAnswers;
        if (step.moved_during_pass) {
            // The read is the first thing after the hot key: a place taken before it would
            // be stale by the time the window is updated.
            MovingRead mover(overlay_.get());
            RenderPass moving(overlay_.get(), *surface_, InventoryReadLimits{}, mover);
            run_pass(&moving);
        } else {
            run_pass();
        }
        RECT r{};
        ASSERT_TRUE(GetWindowRect(overlay_.get(), &r));
        EXPECT_EQ(r.left, step.at.x);
        EXPECT_EQ(r.top, step.at.y);
        EXPECT_EQ(IsWindowVisible(overlay_.get()) != FALSE, step.visible);
    }
}

// A pad that takes 300 ms to say it is not there is asked by the first pass and then again
// only once 2 seconds have passed on the pass's clock: the passes in between, with the hot
// key on, do not ask it, so none of them waits for it.
TEST_F(RenderPassWin, WithAPadSlowToFailOnlyOnePassIn2SecondsWaitsForIt) {
    use_font_height(-20, 1);
    test_support::FakeClock clock;
    RenderPass slow(overlay_.get(), *surface_, InventoryReadLimits{}, calls_, slow_pad_, clock);
    struct Step {
        const char* what;
        uint64_t advance_ms;  // before the pass
        int calls;            // pad calls the pass makes
    };
    const Step steps[] = {
        {"the first pass", 0, 1},      {"the next pass", 0, 0},
        {"another pass", 0, 0},        {"1 ms before the pause ends", kPadRetryMs - 1, 0},
        {"when the pause ends", 1, 1}, {"the pass after", 0, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        clock.advance(step.advance_ms);
        const int calls_at_start = slow_pad_.calls();
        run_pass(&slow);
        EXPECT_EQ(slow_pad_.calls() - calls_at_start, step.calls);
    }
}

}  // namespace
}  // namespace quilla

// The render pass on a layered window of this process beside an in-process inventory list
// box: which equipment a read that ends early leaves on the overlay, the notice for a host
// that refuses the read, and the lines published where they were drawn.
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
#include "tests/support/inventory_window_win.h"

namespace quilla {
namespace {

using test_support::failing_send;
using test_support::local_inventory;
using test_support::message_fault;
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
        message_fault() = kAnswers;
        pass_ = std::make_unique<RenderPass>(overlay_.get(), *surface_, InventoryReadLimits{},
                                             &failing_send);
    }

    static void use_font_height(int32_t height) {
        DisplaySettings s;
        s.weapon_text = "武器なし";
        s.shield_text = "盾なし";
        s.amulet_text = "なし";
        s.font = create_overlay_font(kFace, height);
        display_settings().publish(s);
    }

    // Runs a pass with the inventory window holding lines (none open for null); returns
    // the texts the pass drew.
    Lines pass(const Lines* inventory, MessageFault fault) {
        const UniqueWindow window = inventory ? local_inventory(*inventory) : UniqueWindow();
        message_fault() = fault;
        pass_->run();
        Lines texts;
        for (const OverlayLine& line : *drawn_lines().snapshot()) {
            texts.push_back(line.text);
        }
        return texts;
    }

    UniqueWindow overlay_;
    std::unique_ptr<DrawingSurface> surface_;
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

}  // namespace
}  // namespace quilla

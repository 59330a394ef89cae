// The context menu as built: its tree, captions, ids, kinds and marks, read back through
// the menu interface; and the option toggles behind its check items.
#include "app/context_menu_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/menu_commands_win.h"
#include "config/options.h"
#include "config/live_settings.h"

namespace quilla {
namespace {

struct ItemView {
    std::string caption;  // empty for a separator
    UINT id;
    bool separator;
    bool radio;
    bool checked;
    HMENU submenu;
};

ItemView read_item(HMENU menu, UINT position) {
    char text[128] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = sizeof text;
    EXPECT_TRUE(GetMenuItemInfoA(menu, position, TRUE, &info)) << position;
    return {text,
            info.wID,
            (info.fType & MFT_SEPARATOR) != 0,
            (info.fType & MFT_RADIOCHECK) != 0,
            (info.fState & MFS_CHECKED) != 0,
            info.hSubMenu};
}

struct Expected {
    const char* caption;  // nullptr: separator
    UINT id;
    bool checked;
};

void expect_items(HMENU menu, const std::vector<Expected>& expected, bool radio = false) {
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(expected.size()));
    for (UINT i = 0; i < expected.size(); ++i) {
        const ItemView item = read_item(menu, i);
        if (!expected[i].caption) {
            EXPECT_TRUE(item.separator) << "position " << i;
            continue;
        }
        EXPECT_FALSE(item.separator) << "position " << i;
        EXPECT_EQ(item.caption, expected[i].caption) << "position " << i;
        EXPECT_EQ(item.id, expected[i].id) << "position " << i;
        EXPECT_EQ(item.checked, expected[i].checked) << "position " << i;
        EXPECT_EQ(item.radio, radio) << "position " << i;
    }
}

class ContextMenu : public ::testing::Test {
  protected:
    void SetUp() override {
        options().load(default_option_states());
        position_mode().store(1);
    }
    void TearDown() override { SetUp(); }
};

TEST_F(ContextMenu, HasTheFullTreeWithTheDefaultMarks) {
    UniqueMenu menu = build_context_menu();
    ASSERT_TRUE(menu);
    expect_items(menu.get(), {{"前面", 1000, false},
                              {"透過", 1010, false},
                              {nullptr, 0, false},
                              {"表示", 1020, false},
                              {nullptr, 0, false},
                              {"位置", 1030, false},
                              {nullptr, 0, false},
                              {"器数(+)", 1040, false},
                              {"器数(-)", 1050, false},
                              {nullptr, 0, false},
                              {"設定", 1060, false},
                              {"情報", 1070, false},
                              {nullptr, 0, false},
                              {"終了", 1080, false}});
    HMENU display = read_item(menu.get(), 3).submenu;
    HMENU position = read_item(menu.get(), 5).submenu;
    ASSERT_NE(display, nullptr);
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(read_item(menu.get(), 0).submenu, nullptr);
    expect_items(display, {{"武器を表示", 1021, true},
                           {"盾を表示", 1022, true},
                           {"お守りを表示", 1023, true},
                           {nullptr, 0, false},
                           {"空き器を○表示", 1027, true},
                           {"器数オーバー時に印を非表示", 1024, false},
                           {"器数を表示", 1025, false},
                           {nullptr, 0, false},
                           {"アイテムエディタ起動", 1026, false}});
    expect_items(position,
                 {{"固定なし", 1031, true},
                  {"左下に固定", 1032, false},
                  {"領域を拡張して表示", 1033, false}},
                 true);
}

TEST_F(ContextMenu, MarksFollowLoadedSettings) {
    OptionStates states = default_option_states();
    states[*option_index(kOptionTopMost)] = 1;
    states[*option_index(kOptionTransparent)] = 1;
    states[*option_index(kOptionWeapon)] = 5;  // anything but 1 is off
    states[*option_index(kOptionUtsuwa)] = 1;
    options().load(states);
    position_mode().store(3);
    UniqueMenu menu = build_context_menu();
    EXPECT_TRUE(read_item(menu.get(), 0).checked);
    EXPECT_TRUE(read_item(menu.get(), 1).checked);
    HMENU display = read_item(menu.get(), 3).submenu;
    EXPECT_FALSE(read_item(display, 0).checked);
    EXPECT_TRUE(read_item(display, 6).checked);
    HMENU position = read_item(menu.get(), 5).submenu;
    EXPECT_FALSE(read_item(position, 0).checked);
    EXPECT_TRUE(read_item(position, 2).checked);

    position_mode().store(7);  // out of range: no radio item is checked
    UniqueMenu other = build_context_menu();
    HMENU other_position = read_item(other.get(), 5).submenu;
    for (UINT i = 0; i < 3; ++i) {
        EXPECT_FALSE(read_item(other_position, i).checked);
    }
}

TEST_F(ContextMenu, ToggleCommandsFlipTheOptionAndItsMark) {
    UniqueMenu menu = build_context_menu();
    HMENU display = read_item(menu.get(), 3).submenu;
    const CommandTarget target{nullptr, menu.get(), {0, 0}};
    options().set(kOptionWeapon, 5);
    for (int round = 0; round < 2; ++round) {
        run_menu_command(target, kOptionWeapon);
        EXPECT_EQ(options().get(kOptionWeapon), round == 0 ? -4 : 5);
        EXPECT_FALSE(read_item(display, 0).checked);
    }
    run_menu_command(target, kOptionIn);
    EXPECT_TRUE(options().is_on(kOptionIn));
    EXPECT_TRUE(read_item(display, 5).checked);
    run_menu_command(target, kOptionTransparent);
    EXPECT_TRUE(read_item(menu.get(), 1).checked);
    run_menu_command(target, kOptionTransparent);
    EXPECT_FALSE(read_item(menu.get(), 1).checked);
}

TEST_F(ContextMenu, PositionCommandsMoveTheRadioMark) {
    UniqueMenu menu = build_context_menu();
    HMENU position = read_item(menu.get(), 5).submenu;
    const CommandTarget target{nullptr, menu.get(), {0, 0}};
    run_menu_command(target, 1033);
    EXPECT_EQ(position_mode().load(), 3);
    EXPECT_TRUE(read_item(position, 2).checked);
    EXPECT_FALSE(read_item(position, 0).checked);
    run_menu_command(target, 1032);
    EXPECT_EQ(position_mode().load(), 2);
    EXPECT_TRUE(read_item(position, 1).checked);
    EXPECT_FALSE(read_item(position, 2).checked);
    run_menu_command(target, 1030);  // the submenu item itself does nothing
    EXPECT_EQ(position_mode().load(), 2);
}

}  // namespace
}  // namespace quilla

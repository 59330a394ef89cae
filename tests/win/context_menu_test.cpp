// The context menu as built: its tree, captions, ids, kinds and marks, read back through
// the menu interface; and the option toggles behind its check items.
#include "app/context_menu_win.h"

#include <gtest/gtest.h>

#include <span>
#include <string>

#include "app/context_menu_items.h"
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

// The menu holds the items of the table, in order, each with its kind and its mark from
// the live options and position mode; a submenu item holds its submenu's items.
void expect_follows(HMENU menu, std::span<const MenuItem> items) {
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(items.size()));
    for (UINT i = 0; i < items.size(); ++i) {
        const MenuItem& item = items[i];
        const ItemView view = read_item(menu, i);
        SCOPED_TRACE("position " + std::to_string(i) + ", id " + std::to_string(item.id));
        EXPECT_EQ(view.separator, item.kind == MenuItemKind::kSeparator);
        if (item.kind == MenuItemKind::kSeparator) {
            continue;
        }
        EXPECT_EQ(view.caption, item.caption);
        EXPECT_EQ(view.id, static_cast<UINT>(item.id));
        EXPECT_EQ(view.radio, item.kind == MenuItemKind::kRadio);
        const bool checked = item.kind == MenuItemKind::kCheck ? options().is_on(item.id)
                             : item.kind == MenuItemKind::kRadio
                                 ? position_command_for_mode(position_mode().load()) == item.id
                                 : false;
        EXPECT_EQ(view.checked, checked);
        if (item.kind == MenuItemKind::kSubmenu) {
            ASSERT_NE(view.submenu, nullptr);
            expect_follows(view.submenu, submenu_items(item.id));
        } else {
            EXPECT_EQ(view.submenu, nullptr);
        }
    }
}

bool checked_by_command(HMENU menu, UINT id) {
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

class ContextMenu : public ::testing::Test {
  protected:
    void SetUp() override {
        options().load(default_option_states());
        position_mode().store(1);
    }
    void TearDown() override { SetUp(); }
};

TEST_F(ContextMenu, FollowsItsTablesWithTheDefaultMarks) {
    UniqueMenu menu = build_context_menu();
    ASSERT_TRUE(menu);
    expect_follows(menu.get(), kMainMenuItems);
    // Shown by default: weapon, shield, amulet, free slots; the first position.
    for (UINT id : {1021u, 1022u, 1023u, 1027u, 1031u}) {
        EXPECT_TRUE(checked_by_command(menu.get(), id)) << id;
    }
    for (UINT id : {1000u, 1010u, 1024u, 1025u, 1032u, 1033u}) {
        EXPECT_FALSE(checked_by_command(menu.get(), id)) << id;
    }
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

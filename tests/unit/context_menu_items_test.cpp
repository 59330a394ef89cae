// The context menu's item tables: every display option once as a check item, ids that
// tell items apart, the position trio, separators only between groups, and examples of
// captions with their ids.
#include "app/context_menu_items.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace quilla {
namespace {

std::vector<MenuItem> all_items() {
    std::vector<MenuItem> items;
    for (const MenuItem& item : kMainMenuItems) {
        items.push_back(item);
        for (const MenuItem& sub : submenu_items(item.id)) {
            items.push_back(sub);
        }
    }
    return items;
}

TEST(ContextMenuItems, EachOptionOnceAsACheckItemAndEveryIdItsOwn) {
    std::set<int> ids;
    std::map<int, int> checks;
    for (const MenuItem& item : all_items()) {
        if (item.kind == MenuItemKind::kSeparator) {
            EXPECT_EQ(item.caption, nullptr);
            continue;
        }
        EXPECT_TRUE(ids.insert(item.id).second) << "id " << item.id << " twice";
        ASSERT_NE(item.caption, nullptr) << item.id;
        EXPECT_FALSE(std::string(item.caption).empty()) << item.id;
        if (item.kind == MenuItemKind::kCheck) {
            ++checks[item.id];
        }
        EXPECT_EQ(item.kind == MenuItemKind::kCheck, option_index(item.id).has_value()) << item.id;
    }
    EXPECT_EQ(checks.size(), kOptions.size());
    for (const OptionInfo& option : kOptions) {
        EXPECT_EQ(checks[option.id], 1) << option.key;
    }
}

TEST(ContextMenuItems, SeparatorsOnlyBetweenGroupsAndRadioItemsOnlyForPositions) {
    std::vector<std::span<const MenuItem>> menus = {kMainMenuItems};
    for (const MenuItem& item : kMainMenuItems) {
        const std::span<const MenuItem> submenu = submenu_items(item.id);
        EXPECT_EQ(item.kind == MenuItemKind::kSubmenu, !submenu.empty()) << item.id;
        if (!submenu.empty()) {
            menus.push_back(submenu);
        }
    }
    ASSERT_EQ(menus.size(), 3u);
    for (const std::span<const MenuItem> menu : menus) {
        for (std::size_t i = 0; i < menu.size(); ++i) {
            if (menu[i].kind != MenuItemKind::kSeparator) {
                continue;
            }
            EXPECT_TRUE(i > 0 && i + 1 < menu.size()) << "separator at an end, " << i;
            EXPECT_TRUE(i + 1 < menu.size() && menu[i + 1].kind != MenuItemKind::kSeparator)
                << "two separators at " << i;
        }
    }
    std::vector<int> radio;
    for (const MenuItem& item : all_items()) {
        if (item.kind == MenuItemKind::kRadio) {
            radio.push_back(item.id);
        }
    }
    EXPECT_EQ(radio, (std::vector<int>{1031, 1032, 1033}));
    for (int mode = 1; mode <= 3; ++mode) {
        EXPECT_EQ(position_command_for_mode(mode), radio[static_cast<std::size_t>(mode - 1)]);
    }
}

TEST(ContextMenuItems, CaptionsOfExampleItems) {
    const auto caption_of = [](int id) {
        for (const MenuItem& item : all_items()) {
            if (item.id == id && item.caption) {
                return std::string(item.caption);
            }
        }
        return std::string("(none)");
    };
    const struct {
        int id;
        const char* caption;
    } examples[] = {
        {1000, "前面"},     {1010, "透過"},
        {1020, "表示"},     {1040, "器数(+)"},
        {1050, "器数(-)"},  {1026, "アイテムエディタ起動"},
        {1031, "固定なし"}, {1033, "領域を拡張して表示"},
        {1080, "終了"},
    };
    for (const auto& example : examples) {
        EXPECT_EQ(caption_of(example.id), example.caption) << example.id;
    }
    EXPECT_EQ(kMainMenuItems.front().id, 1000);
    EXPECT_EQ(kMainMenuItems.back().id, 1080);
}

}  // namespace
}  // namespace quilla

// The item editor's table rules without a window: value parsing, the search position, and
// loads and resets of files that could not be read.
#include "items/item_editor_model.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace quilla {
namespace {

TEST(ItemValue, AcceptsOnlyAWholeInt32Number) {
    const struct {
        const char* text;
        std::optional<int32_t> value;
    } cases[] = {
        {"12", 12},
        {" -7 ", -7},
        {"+3", 3},
        {"2147483647", std::numeric_limits<int32_t>::max()},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"2147483648", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"12a", std::nullopt},
        {"1 2", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parse_item_value(c.text), c.value) << c.text;
    }
}

class ItemEditorRules : public ::testing::Test {
  protected:
    void SetUp() override {
        ItemTables tables;
        tables.weapon = {{"a1", 1}, {"a2", -2}, {"b", 3}};
        tables.shield = {{"a-shield", 4}};
        db_.replace(tables);
        model_.open(tables);
    }
    ItemDatabase db_;
    ItemEditorModel model_;
};

TEST_F(ItemEditorRules, NextStartsAfterTheSearchPositionAndNeverWrapsAround) {
    EXPECT_EQ(model_.next("a"), 1u);  // before any search: row 0 is never tested
    EXPECT_EQ(model_.next("a"), std::nullopt);
    EXPECT_EQ(model_.search(""), std::nullopt);  // does nothing, keeps the position
    EXPECT_EQ(model_.next("a"), std::nullopt);
    EXPECT_EQ(model_.search("a"), 0u);
    model_.open(*db_.snapshot());  // a new window keeps the position
    EXPECT_EQ(model_.next("a"), 1u);
    model_.select_tab(1);  // a tab change starts again at the top
    EXPECT_EQ(model_.next("a"), std::nullopt);
    EXPECT_EQ(model_.search("shield"), 0u);
}

// Apply with no row selected adds the entry to the shown table and the live one and says
// where its row is; with a row selected it renames that row.
TEST_F(ItemEditorRules, ApplyWithoutASelectedRowAddsTheEntry) {
    const struct {
        const char* what;
        const char* name;
        const char* value;
        std::optional<std::size_t> row;
        std::vector<std::string> weapons;  // the shown rows afterwards, as name=value
    } cases[] = {
        {"a new name sorts in", "a3", "5", 2u, {"a1=1", "a2=-2", "a3=5", "b=3"}},
        {"a name already there takes the value", "b", "-9", 2u, {"a1=1", "a2=-2", "b=-9"}},
        {"an empty name adds nothing", "", "5", std::nullopt, {"a1=1", "a2=-2", "b=3"}},
        {"no number adds nothing", "c", "", std::nullopt, {"a1=1", "a2=-2", "b=3"}},
        {"a number past int32 adds nothing",
         "c",
         "2147483648",
         std::nullopt,
         {"a1=1", "a2=-2", "b=3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        EXPECT_EQ(model_.add(c.name, c.value, db_), c.row);
        std::vector<std::string> shown, live;
        for (std::size_t row = 0; row < model_.row_count(); ++row) {
            shown.push_back(model_.cell_text(row, 0) + "=" + model_.cell_text(row, 1));
        }
        for (const auto& [name, slots] : db_.snapshot()->weapon) {
            live.push_back(name + "=" + std::to_string(slots));
        }
        EXPECT_EQ(shown, c.weapons);
        EXPECT_EQ(live, c.weapons);
        EXPECT_EQ(db_.snapshot()->shield, (ItemTable{{"a-shield", 4}}));
    }

    // On the empty table of another tab, the first entry is row 0 of that tab alone.
    SetUp();
    model_.select_tab(2);
    EXPECT_EQ(model_.add("seal", "1", db_), 0u);
    EXPECT_EQ(db_.snapshot()->weapon_seal, (ItemTable{{"seal", 1}}));
    EXPECT_EQ(db_.snapshot()->weapon.size(), 3u);
}

TEST_F(ItemEditorRules, FilesThatCannotBeReadChangeNothing) {
    ASSERT_TRUE(model_.apply(0, "a1", "8", db_));
    const auto before = db_.snapshot();
    EXPECT_FALSE(model_.load(std::nullopt, db_));
    EXPECT_FALSE(model_.reset(std::nullopt, db_));
    EXPECT_EQ(db_.snapshot(), before);  // not even published again
    EXPECT_EQ(model_.cell_text(0, 1), "8");
}

}  // namespace
}  // namespace quilla

// The item editor's table rules without a window: value parsing, the search position, the
// row of an entry after Apply, add and delete, the live tables behind every tab, loads,
// resets and the unsaved-changes state.
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
        {"５", 5},
        {"-１２", -12},
        {"1２", 12},
        {"２１４７４８３６４８", std::nullopt},
        {"５ａ", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parse_item_value(c.text), c.value) << c.text;
    }
}

class ItemEditorRules : public ::testing::Test {
  protected:
    std::vector<std::string> shown() const {
        std::vector<std::string> out;
        for (std::size_t row = 0; row < model_.row_count(); ++row) {
            out.push_back(model_.cell_text(row, 0) + "=" + model_.cell_text(row, 1));
        }
        return out;
    }
    std::vector<std::string> live_weapons() const {
        std::vector<std::string> out;
        for (const auto& [name, slots] : db_.snapshot()->weapon) {
            out.push_back(name + "=" + std::to_string(slots));
        }
        return out;
    }

    void SetUp() override {
        ItemTables tables;
        tables.weapon = {{"a1", 1}, {"a2", -2}, {"b", 3}};
        tables.shield = {{"a-shield", 4}};
        db_.load([&](ItemTables& t) { t = tables; });  // as read from a file: nothing unsaved
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
    model_.select_tab(1, *db_.snapshot());  // a tab change starts again at the top
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
        {"a name with a comma adds nothing", "c,1", "5", std::nullopt, {"a1=1", "a2=-2", "b=3"}},
        {"a full-width comma is a letter", "c，1", "5", 3u, {"a1=1", "a2=-2", "b=3", "c，1=5"}},
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
    model_.select_tab(2, *db_.snapshot());
    EXPECT_EQ(model_.add("seal", "1", db_), 0u);
    EXPECT_EQ(db_.snapshot()->weapon_seal, (ItemTable{{"seal", 1}}));
    EXPECT_EQ(db_.snapshot()->weapon.size(), 3u);
}

// A rename that sorts the entry elsewhere says where it went; the next Apply on that row
// changes the renamed entry and no other.
TEST_F(ItemEditorRules, ApplyGivesTheRenamedEntrysNewRow) {
    const struct {
        const char* what;
        std::size_t row;
        const char* name;
        const char* value;
        std::optional<std::size_t> new_row;
        std::vector<std::string> weapons;
    } steps[] = {
        {"a1 renamed to c sorts last", 0, "c", "7", 2u, {"a2=-2", "b=3", "c=7"}},
        {"then c revalued on its new row", 2, "c", "８", 2u, {"a2=-2", "b=3", "c=8"}},
        {"c renamed to a0 sorts first", 2, "a0", "8", 0u, {"a0=8", "a2=-2", "b=3"}},
        {"a0 renamed onto b merges", 0, "b", "1", 1u, {"a2=-2", "b=1"}},
        {"a row past the end changes nothing", 2, "x", "1", std::nullopt, {"a2=-2", "b=1"}},
        {"no number changes nothing", 0, "x", "", std::nullopt, {"a2=-2", "b=1"}},
        {"a name with a comma changes nothing", 0, "a,2", "1", std::nullopt, {"a2=-2", "b=1"}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        EXPECT_EQ(model_.apply(step.row, step.name, step.value, db_), step.new_row);
        EXPECT_EQ(shown(), step.weapons);
        EXPECT_EQ(live_weapons(), step.weapons);
    }
}

TEST_F(ItemEditorRules, RemoveTakesTheRowsEntryFromTheShownAndTheLiveTable) {
    EXPECT_FALSE(model_.remove(3, db_));
    EXPECT_EQ(live_weapons(), (std::vector<std::string>{"a1=1", "a2=-2", "b=3"}));
    EXPECT_TRUE(model_.remove(1, db_));
    EXPECT_EQ(shown(), (std::vector<std::string>{"a1=1", "b=3"}));
    EXPECT_EQ(live_weapons(), shown());
    EXPECT_TRUE(model_.remove(1, db_));
    EXPECT_TRUE(model_.remove(0, db_));
    EXPECT_FALSE(model_.remove(0, db_));  // the table is empty
    EXPECT_TRUE(db_.snapshot()->weapon.empty());
    EXPECT_EQ(db_.snapshot()->shield, (ItemTable{{"a-shield", 4}}));
}

// Every tab shows the live table, with what was applied since the last save.
TEST_F(ItemEditorRules, TabsShowTheLiveTables) {
    ASSERT_TRUE(model_.add("c", "5", db_));
    model_.select_tab(1, *db_.snapshot());
    EXPECT_EQ(shown(), std::vector<std::string>{"a-shield=4"});
    model_.select_tab(0, *db_.snapshot());
    EXPECT_EQ(shown(), (std::vector<std::string>{"a1=1", "a2=-2", "b=3", "c=5"}));
    model_.select_tab(4, *db_.snapshot());  // no such tab: nothing changes
    EXPECT_EQ(model_.tab(), 0u);
}

// A file with lines of one category replaces that category, live and saved; the entries
// applied to another category stay live, and stay unsaved.
TEST_F(ItemEditorRules, ALoadOfOneCategoryKeepsTheOthersLiveEntries) {
    ASSERT_TRUE(model_.add("c", "5", db_));
    model_.select_tab(1, *db_.snapshot());
    EXPECT_TRUE(model_.load(std::string("盾,s,1\n"), db_));
    EXPECT_EQ(shown(), std::vector<std::string>{"s=1"});
    EXPECT_EQ(db_.snapshot()->shield, (ItemTable{{"s", 1}}));
    EXPECT_EQ(live_weapons(), (std::vector<std::string>{"a1=1", "a2=-2", "b=3", "c=5"}));
    EXPECT_TRUE(db_.unsaved());  // the weapon c

    EXPECT_TRUE(model_.load(std::string("武器,c,5\n武器,a1,1\n武器,a2,-2\n武器,b,3\n"), db_));
    EXPECT_FALSE(db_.unsaved());
}

// Unsaved changes are the live tables against those last read, loaded or saved, whatever
// made them: the editor's actions, a slot-count command, with the editor open or not.
TEST_F(ItemEditorRules, UnsavedChangesAreThoseSinceTheLastSaveOrLoad) {
    EXPECT_FALSE(db_.unsaved());
    ASSERT_TRUE(model_.apply(0, "a1", "2", db_));
    EXPECT_TRUE(db_.unsaved());
    ASSERT_TRUE(model_.apply(0, "a1", "1", db_));  // back as it was
    EXPECT_FALSE(db_.unsaved());
    ASSERT_TRUE(model_.remove(2, db_));
    EXPECT_TRUE(db_.unsaved());
    db_.mark_saved(*db_.snapshot());
    EXPECT_FALSE(db_.unsaved());
    model_.open(*db_.snapshot());  // a new window changes nothing
    EXPECT_FALSE(db_.unsaved());
    db_.modify([](ItemTables& t) { adjust(t, "a2", +1); });  // 器数(+)
    EXPECT_TRUE(db_.unsaved());
    model_.open(*db_.snapshot());
    EXPECT_TRUE(db_.unsaved());
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

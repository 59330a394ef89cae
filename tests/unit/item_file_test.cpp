// The item file's readers and writer on well-formed and tricky files.
#include "items/item_file.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

#include <cctype>
#include <ostream>
#include <string_view>

#include <limits>
#include <string>
#include <vector>

namespace quilla {
namespace {

struct Entry {
    Category category;
    std::string name;
    int32_t value;
};

ItemTables tables_of(const std::vector<Entry>& entries) {
    ItemTables tables;
    for (const Entry& e : entries) {
        set(tables, e.category, e.name, e.value);
    }
    return tables;
}

constexpr auto W = Category::kWeapon;
constexpr auto S = Category::kShield;
constexpr auto A = Category::kAmulet;
constexpr auto WS = Category::kWeaponSeal;
constexpr auto SS = Category::kShieldSeal;

struct ReadCase {
    const char* what;
    std::string bytes;
    std::vector<Entry> expected;
};

// A 300-byte physical line: the first 255 bytes are read as one line, the remaining 45
// bytes as another.
std::string long_line(const std::string& first_piece_head, const std::string& continuation) {
    std::string line = first_piece_head;
    line.resize(255, ' ');
    line += continuation;
    line.resize(299, ' ');
    return line + "\n";
}

const std::vector<ReadCase>& startup_cases() {
    static const std::vector<ReadCase> cases = {
        {"empty file", "", {}},
        {"title, blank and indented lines are ignored",
         "Quilla item list v2\n\n 武器,浮き剣,4\n\t盾,浮き盾,1\n武器,剣,5\n",
         {{W, "剣", 5}}},
        {"CR LF and LF read alike", "武器,剣,7\r\n武器,刀,7\n", {{W, "剣", 7}, {W, "刀", 7}}},
        {"last line without line end", "盾,鉄の盾,2", {{S, "鉄の盾", 2}}},
        {"no comma after the name stores nothing", "武器,剣\n盾,鉄の盾\r\nお守り,守\n", {}},
        {"amulet value is always 0", "お守り,守,5\nお守り,魔,\n", {{A, "守", 0}, {A, "魔", 0}}},
        {"empty name", "武器,,3\n", {{W, "", 3}}},
        {"values: no digits, sign, leading space, trailing text, beyond int32",
         "武器,a,abc\n武器,b,-12\n武器,c, 34\n武器,d,56 slots\n武器,e,99999999999\n"
         "武器,f,-99999999999\n",
         {{W, "a", 0},
          {W, "b", -12},
          {W, "c", 34},
          {W, "d", 56},
          {W, "e", std::numeric_limits<int32_t>::max()},
          {W, "f", std::numeric_limits<int32_t>::min()}}},
        {"full-width digits read as their half-width ones, mixed or after a sign",
         "武器,a,５\n武器,b,-１２\n盾,c,1２\n武器印,d,０\n武器,e,５slots\n",
         {{W, "a", 5}, {W, "b", -12}, {S, "c", 12}, {WS, "d", 0}, {W, "e", 5}}},
        {"full-width letters and the full-width minus are no digits",
         "武器,a,ａ\n武器,b,－５\n",
         {{W, "a", 0}, {W, "b", 0}}},
        {"later line for the same name wins", "武器印,竜,1\n武器印,竜,2\n", {{WS, "竜", 2}}},
        {"all five prefixes",
         "武器,剣,5\n盾,鉄の盾,3\nお守り,守,\n武器印,竜,1\n盾印,発,2\n",
         {{W, "剣", 5}, {S, "鉄の盾", 3}, {A, "守", 0}, {WS, "竜", 1}, {SS, "発", 2}}},
        {"prefix only at the first byte; byte-order mark or other text before it",
         "\xEF\xBB\xBF武器,剣,5\nx盾,鉄の盾,3\n武器 ,刀,1\n",
         {}},
        {"name that is a category word followed by a further comma stores two entries",
         "武器,盾,鉄の盾,4\n",
         {{W, "盾", 0}, {S, "鉄の盾", 4}}},
        {"startup order tries the amulet prefix before the seal prefixes",
         "お守り,武器印,竜,2\n",
         {{A, "武器印", 0}, {WS, "竜", 2}}},
        {"300-byte line: well-formed first piece is stored, continuation ignored",
         long_line("武器,長剣,12", "x,盾,9"),
         {{W, "長剣", 12}}},
        {"300-byte line: continuation beginning with a prefix is read",
         long_line("title", "盾,続き盾,6"),
         {{S, "続き盾", 6}}},
        {"long line: comma beyond the first piece stores nothing",
         "武器," + std::string(260, 'n') + ",5\n",
         {}},
    };
    return cases;
}

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.what;
}

class StartupReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(StartupReadTest, StoresTheWellFormedEntries) {
    const ReadCase& c = GetParam();
    SCOPED_TRACE(c.what);
    ItemTables live;
    read_startup_item_file(c.bytes, live);
    EXPECT_EQ(live, tables_of(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Files, StartupReadTest, ::testing::ValuesIn(startup_cases()),
                         case_name<ReadCase>);

TEST(ItemFileLoad, ReplacesOnlyTheCategoriesTheFileHolds) {
    ItemTables target = tables_of(
        {{W, "古剣", 1}, {S, "古盾", 2}, {A, "古守", 0}, {WS, "古印", 3}, {SS, "古盾印", 4}});
    load_item_file(std::string("武器,新剣,5\n盾印,新盾印,1\n"), target);
    EXPECT_EQ(
        target,
        tables_of(
            {{W, "新剣", 5}, {S, "古盾", 2}, {A, "古守", 0}, {WS, "古印", 3}, {SS, "新盾印", 1}}));
}

TEST(ItemFileLoad, FileThatCannotBeOpenedChangesNothing) {
    const ItemTables before = tables_of({{W, "剣", 1}, {A, "守", 0}});
    ItemTables target = before;
    load_item_file(std::nullopt, target);
    EXPECT_EQ(target, before);
}

TEST(ItemFileLoad, EmptyOrUnreadableContentKeepsEverything) {
    const ItemTables before = tables_of({{W, "剣", 1}, {SS, "発", 2}});
    ItemTables target = before;
    load_item_file(std::string("just a title\n武器,no comma\n"), target);
    EXPECT_EQ(target, before);
}

TEST(ItemFileLoad, TriesTheAmuletPrefixLast) {
    ItemTables target;
    load_item_file(std::string("お守り,武器印,竜,2\n武器,盾,鉄の盾,4\n"), target);
    EXPECT_EQ(target, tables_of({{A, "武器印", 0}, {W, "盾", 0}, {S, "鉄の盾", 4}}));
}

TEST(ItemFileReset, RereadsFourTablesAndKeepsAmulets) {
    const ItemTables live_before = tables_of(
        {{W, "古剣", 1}, {S, "古盾", 2}, {A, "古守", 0}, {WS, "古印", 3}, {SS, "古盾印", 4}});
    struct Case {
        const char* what;
        std::optional<std::string> bytes;
        std::vector<Entry> expected;
    };
    const std::vector<Case> cases = {
        {"only shield lines",
         std::string("盾,新盾,5\nお守り,新守,\n"),
         {{S, "新盾", 5}, {A, "古守", 0}}},
        {"every category",
         std::string("武器,剣,1\n盾,盾,2\n武器印,竜,3\n盾印,発,4\nお守り,守,\n"),
         {{W, "剣", 1}, {S, "盾", 2}, {WS, "竜", 3}, {SS, "発", 4}, {A, "古守", 0}}},
        {"amulet lines never reach a further prefix",
         std::string("お守り,武器印,竜,2\n"),
         {{A, "古守", 0}}},
        {"file cannot be opened", std::nullopt, {{A, "古守", 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ItemTables live = live_before;
        reset_item_file(c.bytes, live);
        EXPECT_EQ(live, tables_of(c.expected));
    }
}

TEST(ItemFileFormat, WritesPrefixNameCommaValueAndLf) {
    const ItemTables tables = tables_of({{W, "剣", 5}, {WS, "竜", 1}, {A, "守", 0}});
    // Weapon prefix 95 90 8a ed 2c, weapon seal prefix 95 90 8a ed 88 f3 2c, amulet prefix
    // 82 a8 8e e7 82 e8 2c; "剣" 8c 95, "竜" 97 b3, "守" 8e e7.
    EXPECT_EQ(format_item_file(tables),
              "\x95\x90\x8a\xed,\x8c\x95,5\n"
              "\x95\x90\x8a\xed\x88\xf3,\x97\xb3,1\n"
              "\x82\xa8\x8e\xe7\x82\xe8,\x8e\xe7,\n");
}

TEST(ItemFileFormat, CategoryOrderNameOrderAndNumbers) {
    const ItemTables tables = tables_of({{A, "b", 0},
                                         {A, "a", 0},
                                         {SS, "s", -7},
                                         {WS, "w", 0},
                                         {S, "z", 12},
                                         {S, "y", -2147483647 - 1},
                                         {W, "B", 2147483647},
                                         {W, "A", -1}});
    EXPECT_EQ(format_item_file(tables),
              "武器,A,-1\n武器,B,2147483647\n盾,y,-2147483648\n盾,z,12\n武器印,w,0\n"
              "盾印,s,-7\nお守り,a,\nお守り,b,\n");
    EXPECT_EQ(format_item_file(ItemTables{}), "");
}

TEST(ItemFileFormat, WriteThenLoadReproducesAllTables) {
    const ItemTables saved = tables_of({
        {W, "剣", 5},
        {W, "", 0},
        {W, "表ソ能", -3},  // trail bytes 0x5C
        {W, "ロングソード [x]", 2147483647},
        {S, "鉄の盾", 3},
        {S, "盾", -2147483647 - 1},
        {A, "守りの指輪", 0},
        {A, "お守り", 0},
        {WS, "竜", 1},
        {WS, "武器", 2},
        {SS, "発", 2},
        {SS, "\r", 1},
    });
    ItemTables loaded = tables_of({{W, "消える", 1}, {A, "消える", 0}});
    load_item_file(format_item_file(saved), loaded);
    EXPECT_EQ(loaded, saved);
}

TEST(ItemFileFormat, NameWithCommaIsWrittenWholeAndReadBackToTheComma) {
    const ItemTables saved = tables_of({{W, "剣,改", 4}, {A, "守,x", 0}});
    const std::string bytes = format_item_file(saved);
    EXPECT_EQ(bytes, "武器,剣,改,4\nお守り,守,x,\n");
    ItemTables loaded;
    load_item_file(bytes, loaded);
    EXPECT_EQ(loaded, tables_of({{W, "剣", 0}, {A, "守", 0}}));
}

// So the editor refuses a name with the ASCII comma, and only that: the ideographic and
// full-width commas are letters, and no Shift-JIS trail byte is a comma.
TEST(ItemFileFormat, OnlyANameWithoutAnAsciiCommaFitsTheFile) {
    const struct {
        const char* name;
        bool fits;
    } cases[] = {
        {"剣,改", false}, {",", false},  {"剣,", false}, {"剣、改", true},
        {"剣，改", true}, {"ｶﾝﾏ", true}, {"表示", true}, {"", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fits_item_file(c.name), c.fits) << c.name;
    }
}

}  // namespace
}  // namespace quilla

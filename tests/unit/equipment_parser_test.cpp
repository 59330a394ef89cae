// From inventory lines to the overlay's weapon, shield and amulet lines: the equipped-mark
// filter, classification, the seal list with its options, and the amulet phrases.
#include "host/equipment_parser.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

#include <cctype>
#include <ostream>
#include <string_view>

#include <string>
#include <vector>

namespace quilla {
namespace {

std::string maru(int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += "○";
    }
    return out;
}

struct FilterCase {
    const char* what;
    std::string line;
    std::optional<std::string> expected;
};

TEST(FilterEquippedLine, KeepsMarkedLinesAndRemovesTheMark) {
    const std::vector<FilterCase> cases = {
        {"plain mark", "(Ｅ)銅の剣 [竜]", "銅の剣 [竜]"},
        {"gold mark gives a star", "(Ｅ金)銅の剣", "★銅の剣"},
        {"mark after the name", "銅の剣(Ｅ)", "銅の剣"},
        {"no bracket", "銅の剣", std::nullopt},
        {"no Ｅ at all", "(金)銅の剣", std::nullopt},
        {"Ｅ only before the bracket", "Ｅ(金)銅の剣", std::nullopt},
        {"empty line", "", std::nullopt},
        {"金 before the bracket is no gold", "金(Ｅ)剣", "金剣"},
        {"金 anywhere after the bracket is gold", "(Ｅ)金の剣", "★金の剣"},
        {"no ) at all: the rest of the line goes", "銅の剣(Ｅ金", "★銅の剣"},
        {"no ) and ( at the start: nothing is left", "(Ｅ銅の剣", ""},
        {") well before (: the rest of the line goes", "a)b(Ｅ)剣", "a)b"},
        {") right before (: nothing is removed", ")(Ｅ)剣", ")(Ｅ)剣"},
        {"first ( and first ) delimit the cut", "(x)(Ｅ)剣", "(Ｅ)剣"},
        {"only the mark", "(Ｅ)", ""},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(filter_equipped_line(c.line), c.expected);
    }
}

ItemTables classify_tables() {
    ItemTables t;
    t.weapon = {{"剣", 3}, {"大剣", 8}, {"カタナ", 4}, {"カタナ改", 6}};
    t.shield = {{"鉄の盾", 2}, {"剣の盾", 5}};
    t.amulet = {{"力の指輪", 0}};
    return t;
}

struct ClassifyCase {
    const char* what;
    std::string line;
    ItemClass expected;
};

TEST(ClassifyItem, WeaponThenShieldThenAmuletFirstNameInByteOrder) {
    const ItemTables tables = classify_tables();
    const std::vector<ClassifyCase> cases = {
        {"weapon with its slots; the star is no hindrance", "★剣 [竜]", {Category::kWeapon, 3}},
        // 剣 (8c 95) sorts before 大剣 (91 e5), so it decides for a line holding 大剣.
        {"contained name that sorts first wins", "大剣", {Category::kWeapon, 3}},
        {"shorter name sorts first", "カタナ改 [会]", {Category::kWeapon, 4}},
        {"weapon table before shield table", "剣の盾", {Category::kWeapon, 3}},
        {"shield", "鉄の盾 [発]", {Category::kShield, 2}},
        {"amulet by table", "力の指輪", {Category::kAmulet, -1}},
        {"amulet by のお守り", "毒消しのお守り", {Category::kAmulet, -1}},
        {"amulet by お守り：", "お守り：幸運", {Category::kAmulet, -1}},
        {"お守り alone is nothing", "お守り", {std::nullopt, -1}},
        {"unknown", "薬草", {std::nullopt, -1}},
        {"empty line", "", {std::nullopt, -1}},
    };
    for (const ClassifyCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(classify_item(c.line, tables), c.expected);
    }
}

TEST(ClassifyItem, EmptyNamesMatchNothing) {
    ItemTables tables;
    tables.weapon = {{"", 1}};
    tables.shield = {{"", 2}, {"鉄の盾", 4}};
    tables.amulet = {{"", 0}};
    EXPECT_EQ(classify_item("薬草", tables), (ItemClass{std::nullopt, -1}));
    EXPECT_EQ(classify_item("鉄の盾", tables), (ItemClass{Category::kShield, 4}));
}

ItemTables gear_tables() {
    ItemTables t;
    t.weapon_seal = {{"竜", 2}, {"会", 1}};
    t.shield_seal = {{"発", 1}};
    return t;
}

struct GearCase {
    const char* what;
    std::string line;
    int32_t slots;
    Category kind;
    LineOptions options;
    std::string expected;
};

constexpr LineOptions kNone{};
constexpr LineOptions kMaru{false, false, true};
constexpr LineOptions kUsage{false, true, false};
constexpr LineOptions kMaruUsage{false, true, true};
constexpr LineOptions kHide{true, false, false};
constexpr LineOptions kHideUsage{true, true, false};
constexpr LineOptions kHideMaru{true, false, true};
constexpr LineOptions kAll{true, true, true};

constexpr auto kW = Category::kWeapon;
constexpr auto kS = Category::kShield;

void PrintTo(const GearCase& c, std::ostream* os) {
    *os << c.what;
}

class GearLineTest : public ::testing::TestWithParam<GearCase> {};

TEST_P(GearLineTest, BuildsTheDisplayLine) {
    const GearCase& c = GetParam();
    SCOPED_TRACE(c.what);
    EXPECT_EQ(build_gear_line(c.line, c.slots, c.kind, gear_tables(), c.options), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Options, GearLineTest,
    ::testing::Values(
        GearCase{"no options", "銅の剣 [竜会]", 3, kW, kNone, "銅の剣[竜会]"},
        GearCase{"padding and usage", "銅の剣 [竜会]", 3, kW, kMaruUsage,
                 "銅の剣[竜会" + maru(8) + "] (3/3)"},
        GearCase{"usage only", "銅の剣 [竜会]", 5, kW, kUsage, "銅の剣[竜会] (3/5)"},
        GearCase{"over capacity hidden, usage shown", "銅の剣 [竜竜]", 3, kW, kHideUsage,
                 "銅の剣 (4/3)"},
        GearCase{"over capacity hidden, padding has nothing to pad", "銅の剣 [竜竜]", 3, kW,
                 kHideMaru, "銅の剣"},
        GearCase{"usage equal to slots is not over", "銅の剣 [竜会]", 3, kW, kAll,
                 "銅の剣[竜会" + maru(8) + "] (3/3)"},
        GearCase{"hide off shows an over-capacity list", "銅の剣 [竜竜]", 3, kW, kMaruUsage,
                 "銅の剣[竜竜" + maru(8) + "] (4/3)"},
        GearCase{"negative slots hide even an empty list", "銅の剣", -1, kW, kHide, "銅の剣"},
        GearCase{"no list, padding", "銅の剣", 4, kW, kMaru, "銅の剣[" + maru(10) + "]"},
        GearCase{"eleven seals: no padding, usage of the first ten", "剣 [竜会竜会竜会竜会竜会竜]",
                 10, kW, kMaruUsage, "剣[竜会竜会竜会竜会竜会竜] (15/10)"},
        GearCase{"unknown seal is kept but padded as if none", "剣 [謎]", 2, kW, kMaruUsage,
                 "剣[謎" + maru(10) + "] (0/2)"},
        GearCase{"shield reads the shield seals with their limits", "鉄の盾 [発発]", 1, kS, kUsage,
                 "鉄の盾[発発] (1/1)"},
        GearCase{"shield seals are no weapon seals", "鉄の盾 [発発]", 1, kW, kUsage,
                 "鉄の盾[発発] (0/1)"},
        GearCase{"no gear: no seal counts", "銅の剣 [竜会]", 3, Category::kAmulet, kMaruUsage,
                 "銅の剣[竜会" + maru(10) + "] (0/3)"}),
    case_name<GearCase>);

INSTANTIATE_TEST_SUITE_P(
    Bytes, GearLineTest,
    ::testing::Values(
        // "ー" is 81 5B: its second byte is the "[" byte.
        GearCase{"long mark in a name without brackets is no list", "ロングソード", 5, kW, kNone,
                 "ロングソード[]"},
        GearCase{"long mark in a name, padding and usage", "ロングソード", 5, kW, kMaruUsage,
                 "ロングソード[" + maru(10) + "] (0/5)"},
        GearCase{"long mark in the name and a real list", "ロングソード [竜]", 5, kW, kUsage,
                 "ロングソード[竜] (2/5)"},
        GearCase{"long mark after the list does not hide it", "ロングソード [竜]ー", 5, kW, kUsage,
                 "ロングソード[竜] (2/5)"},
        // "ゼ" is 83 5B and "ゾ" 83 5D: trail bytes equal to "[" and "]".
        GearCase{"other characters ending in the open bracket byte", "ゼロの剣", 5, kW, kNone,
                 "ゼロの剣[]"},
        GearCase{"a close bracket byte inside a seal name closes nothing", "剣 [竜ゾ", 5, kW,
                 kUsage, "剣[竜ゾ] (2/5)"},
        GearCase{"list at the very start is no list", "[竜]", 5, kW, kNone, "[竜][]"},
        GearCase{"slash cuts the name", "銅の剣/呪い [竜]", 5, kW, kUsage, "銅の剣[竜] (2/5)"},
        GearCase{"slash inside the seal list stays", "銅の剣 [竜/会]", 5, kW, kMaruUsage,
                 "銅の剣[竜/会" + maru(9) + "] (2/5)"},
        GearCase{"no close bracket: the list runs to the end", "銅の剣 [竜会", 5, kW, kUsage,
                 "銅の剣[竜会] (3/5)"},
        GearCase{"close bracket only before the open one: the list runs to the end", "銅の剣] [竜",
                 5, kW, kUsage, "銅の剣][竜] (2/5)"},
        GearCase{"text after the list is dropped", "銅の剣 [竜] +3", 5, kW, kNone, "銅の剣[竜]"},
        GearCase{"the byte before the list is dropped", "abc[竜]", 5, kW, kNone, "ab[竜]"},
        GearCase{"never half a character before the list", "銅の剣[竜]", 5, kW, kNone,
                 "銅の剣[竜]"},
        GearCase{"gold star stays", "★剣 [会]", 5, kW, kNone, "★剣[会]"}),
    case_name<GearCase>);

TEST(BuildAmuletText, TakesTheNameFromEitherPhrase) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"no amulets", {}, ""},
        {"のお守り", {"毒消しのお守り"}, "毒消し "},
        {"お守り：", {"お守り：幸運"}, "幸運 "},
        {"two lines in order", {"毒消しのお守り", "お守り：幸運"}, "毒消し 幸運 "},
        {"neither phrase adds nothing", {"力の指輪", "毒消しのお守り"}, "毒消し "},
        {"/ cuts first", {"毒消しのお守り/使用中"}, "毒消し "},
        {"/ before the phrase", {"毒消し/のお守り"}, ""},
        {"last のお守り is removed", {"のお守りAのお守り"}, "のお守りA "},
        {"both phrases add the line twice", {"お守り：Aのお守り"}, "お守り：A A "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(build_amulet_text(c.lines), c.expected);
    }
}

ItemTables parse_tables() {
    ItemTables t;
    t.weapon = {{"銅の剣", 5}, {"鉄の剣", 3}};
    t.shield = {{"鉄の盾", 2}};
    t.amulet = {{"力の指輪", 0}};
    t.weapon_seal = {{"竜", 2}, {"会", 1}};
    t.shield_seal = {{"発", 1}};
    return t;
}

const NothingTexts kNothing{"武器なし", "盾なし", "お守りなし"};

TEST(ParseEquipment, BuildsAllThreeLinesFromRawInventoryLines) {
    const std::vector<std::string> lines = {
        "薬草",
        "(Ｅ金)銅の剣 [竜会]",
        "(未)鉄の剣 [竜]",  // bracket without Ｅ: not equipped
        "(Ｅ)鉄の盾 [発]",
        "(Ｅ)毒消しのお守り",
        "(Ｅ)お守り：幸運",
        "(Ｅ)力の指輪",  // an amulet by name, but without a phrase it shows nothing
    };
    const EquipmentState state = parse_equipment(lines, parse_tables(), kMaruUsage, kNothing);
    EXPECT_EQ(state, (EquipmentState{"★銅の剣[竜会" + maru(8) + "] (3/5)",
                                     "鉄の盾[発" + maru(9) + "] (1/2)", "毒消し 幸運 "}));
}

TEST(ParseEquipment, LaterLineOfTheSameKindWins) {
    const std::vector<std::string> lines = {"(Ｅ)銅の剣 [竜]", "(Ｅ)鉄の盾", "(Ｅ)鉄の剣 [会]",
                                            "(Ｅ)鉄の盾 [発]"};
    const EquipmentState state = parse_equipment(lines, parse_tables(), kUsage, kNothing);
    EXPECT_EQ(state, (EquipmentState{"鉄の剣[会] (1/3)", "鉄の盾[発] (1/2)", "お守りなし"}));
}

TEST(ParseEquipment, NothingTextsWhenNothingIsEquipped) {
    const std::vector<std::vector<std::string>> inventories = {
        {},
        {"銅の剣 [竜]", "鉄の盾", "毒消しのお守り"},  // nothing marked
        {"(Ｅ)薬草", "(Ｅ)力の指輪"},                 // marked, but no weapon, shield or phrase
    };
    for (const auto& lines : inventories) {
        EXPECT_EQ(parse_equipment(lines, parse_tables(), kAll, kNothing),
                  (EquipmentState{"武器なし", "盾なし", "お守りなし"}));
    }
    EXPECT_EQ(parse_equipment({"(Ｅ)銅の剣"}, ItemTables{}, kAll, kNothing),
              (EquipmentState{"武器なし", "盾なし", "お守りなし"}));
}

}  // namespace
}  // namespace quilla

namespace quilla {
namespace {

// What the item editor offers from the host's lines: per table, the names the overlay does
// not recognise, cut and each once.
TEST(UnrecognisedNames, OffersWhatNoNameMatchesCutBeforeTheSealsAndTheMark) {
    const std::vector<std::string> lines = {
        "つるはし [鎌]",                     // not equipped
        "ミスリルブレード [竜竜会炎] (Ｅ)",  // equipped weapon, 会 no weapon seal
        "白銀の盾 [発見氷] (Ｅ金)",          // equipped shield
        "いやしのお守り (Ｅ)",               // an amulet by its words
        "ふしぎな壺/3 (Ｅ)",                 // equipped, no list
        "ミスリルブレード [竜竜会炎] (Ｅ)",  // the same line again
        "(Ｅ)",                              // nothing before the mark
    };
    ItemTables none;
    ItemTables known;
    known.weapon = {{"ミスリル", 5}};
    known.shield = {{"白銀", 3}};
    known.weapon_seal = {{"竜", 1}, {"炎", 1}};
    known.shield_seal = {{"発", 1}, {"見氷", 1}};
    const struct {
        const char* what;
        const ItemTables& tables;
        Category category;
        std::vector<std::string> names;
    } cases[] = {
        {"weapons, nothing known",
         none,
         Category::kWeapon,
         {"ミスリルブレード", "白銀の盾", "ふしぎな壺/3"}},
        {"shields, nothing known: the same lines",
         none,
         Category::kShield,
         {"ミスリルブレード", "白銀の盾", "ふしぎな壺/3"}},
        {"weapons, weapon and shield known", known, Category::kWeapon, {"ふしぎな壺/3"}},
        {"weapon seals of an unknown weapon: none", none, Category::kWeaponSeal, {}},
        {"weapon seals", known, Category::kWeaponSeal, {"会"}},
        {"shield seals, a two-letter name known", known, Category::kShieldSeal, {}},
        {"amulets: never", none, Category::kAmulet, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(unrecognised_names(lines, c.category, c.tables), c.names);
    }

    // Both sides of a seal name's beginning: "見" alone starts no name ("見氷" needs 氷).
    EXPECT_EQ(unrecognised_names({"白銀の盾 [発見炎 見] (Ｅ)"}, Category::kShieldSeal, known),
              (std::vector<std::string>{"見", "炎"}));
}

}  // namespace
}  // namespace quilla

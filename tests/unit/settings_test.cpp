// The settings file: reading over the defaults, writing every line, and the values that
// must never harm the program (over-long font names, bad Wait values, huge numbers).
#include "config/settings.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <string>

namespace quilla {
namespace {

constexpr auto kIntMax = std::numeric_limits<int32_t>::max();
constexpr auto kIntMin = std::numeric_limits<int32_t>::min();

int32_t option(const SettingsValues& v, int32_t id) {
    return v.options[*option_index(id)];
}

TEST(SettingsFormat, DefaultsWriteEveryLineByteForByte) {
    SettingsValues v;
    v.x = 0;
    v.y = 0;
    const std::string expected =
        "x=0\r\ny=0\r\nTopMost=0\r\nTransparent=0\r\nWeapon=1\r\nShield=1\r\nAmulet=1\r\n"
        "Maru=1\r\nIn=0\r\nUtsuwa=0\r\nPos=1\r\nItemWindow=0\r\nhook=0\r\nhookKey=0\r\n"
        "Font=\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e\r\nFontSize=16\r\n"
        "WeaponText=\x82\xc8\x82\xb5\r\nShieldText=\x82\xc8\x82\xb5\r\n"
        "AmuletText=\x82\xc8\x82\xb5\r\nBackColor=0\r\nFontColor=16777215\r\nEdgeColor=0\r\n"
        "Wait=100\r\n";
    EXPECT_EQ(format_settings(v), expected);
}

TEST(SettingsFormat, WritesNegativesSignedAndColoursUnsigned) {
    SettingsValues v;
    v.x = -50;
    v.font_size = -20;
    v.record.back_color = 0xFFFFFFFF;
    v.record.weapon_text = "";
    const std::string out = format_settings(v);
    EXPECT_NE(out.find("\r\nFontSize=-20\r\n"), std::string::npos);
    EXPECT_EQ(out.find("x=-50\r\n"), 0u);
    EXPECT_NE(out.find("\r\nBackColor=4294967295\r\n"), std::string::npos);
    EXPECT_NE(out.find("\r\nWeaponText=\r\n"), std::string::npos);
}

TEST(SettingsRoundTrip, EveryValueSurvivesWriteThenRead) {
    SettingsValues v;
    v.x = -50;
    v.y = 70000;
    v.options = {1, 1, 0, 5, -4, 0, 1, 1};
    v.pos = 3;
    v.record.item_window = 1;
    v.record.hook = 1;
    v.record.hook_key = 272;
    v.font_face = "メイリオ UI";
    v.font_size = -20;
    v.record.weapon_text = "武器 なし ";
    v.record.shield_text = "";
    v.record.amulet_text = "ソ表能";  // trail bytes 0x5C
    v.record.back_color = 0x00102030;
    v.record.font_color = 0x00FFFFFF;
    v.record.edge_color = 0x00FF00FF;
    v.record.wait = 250;
    EXPECT_EQ(parse_settings(format_settings(v)), v);
}

TEST(SettingsParse, MissingFileOrEmptyTextGivesDefaults) {
    const SettingsValues v = parse_settings("");
    EXPECT_EQ(v, SettingsValues{});
    EXPECT_EQ(v.x, kPositionAbsent);
    EXPECT_EQ(option(v, kOptionWeapon), 1);
    EXPECT_EQ(option(v, kOptionMaru), 1);
    EXPECT_EQ(option(v, kOptionTopMost), 0);
    EXPECT_EQ(v.record.wait, 100);
}

TEST(SettingsParse, OnlyHookLeavesEverythingElseAtDefaults) {
    SettingsValues expected;
    expected.record.hook = 1;
    EXPECT_EQ(parse_settings("hook=1\n"), expected);
}

TEST(SettingsParse, KeysAreCaseSensitiveAndTheLastLineWins) {
    const SettingsValues v =
        parse_settings("topmost=1\r\nTopMost=0\r\nx=5\r\nTopMost=1\r\nx=7\r\n");
    EXPECT_EQ(option(v, kOptionTopMost), 1);
    EXPECT_EQ(v.x, 7);
    EXPECT_EQ(parse_settings("topmost=1\n").options, default_option_states());
}

TEST(SettingsParse, NumbersReadLeadingDigitsAndClampHugeValues) {
    const SettingsValues v = parse_settings(
        "Wait=250ms\nx=  -12abc\ny=\nhookKey=99999999999999\nPos=-99999999999999\n"
        "FontSize=-20\nBackColor=4294967295\nWeapon=5\nFontColor=-20\nEdgeColor=99999999999\n");
    EXPECT_EQ(v.record.wait, 250);
    EXPECT_EQ(v.x, -12);
    EXPECT_EQ(v.y, 0);
    EXPECT_EQ(v.record.hook_key, kIntMax);
    EXPECT_EQ(v.pos, kIntMin);
    EXPECT_EQ(v.font_size, -20);
    // Colours are written unsigned and read back as such; a negative one keeps its bits.
    EXPECT_EQ(v.record.back_color, 0xFFFFFFFFu);
    EXPECT_EQ(v.record.font_color, 0xFFFFFFECu);
    EXPECT_EQ(v.record.edge_color, 0xFFFFFFFFu);
    EXPECT_EQ(parse_settings(format_settings(v)), v) << "a colour changed in write then read";
    EXPECT_EQ(parse_settings("BackColor=4294967296\n").record.back_color, 0xFFFFFFFFu);
    EXPECT_EQ(parse_settings("BackColor=-2147483648\n").record.back_color, 0x80000000u);
    EXPECT_EQ(parse_settings("BackColor=-2147483649\n").record.back_color, 0x80000000u);
    EXPECT_EQ(option(v, kOptionWeapon), 5);
}

TEST(SettingsParse, WaitOfZeroOrBelowKeepsTheDefault) {
    EXPECT_EQ(parse_settings("Wait=0\n").record.wait, 100);
    EXPECT_EQ(parse_settings("Wait=-5\n").record.wait, 100);
    EXPECT_EQ(parse_settings("Wait=x\n").record.wait, 100);
    EXPECT_EQ(parse_settings("Wait=1\n").record.wait, 1);
}

TEST(SettingsParse, StringsKeepSpacesAndMayBeEmpty) {
    const SettingsValues v =
        parse_settings("WeaponText= 素手 です \r\nShieldText=\r\nAmuletText=a b\n");
    EXPECT_EQ(v.record.weapon_text, " 素手 です ");
    EXPECT_EQ(v.record.shield_text, "");
    EXPECT_EQ(v.record.amulet_text, "a b");
}

TEST(SettingsParse, StringValuesStopAtALoneCarriageReturn) {
    EXPECT_EQ(parse_settings("WeaponText=ab\rcd\n").record.weapon_text, "ab");
}

TEST(SettingsParse, LongLinesAreReadIn255BytePieces) {
    // The first piece is "WeaponText=" plus 244 bytes; the continuation starts with a key.
    const std::string line = "WeaponText=" + std::string(244, 'a') + "hook=1\n";
    const SettingsValues v = parse_settings(line);
    EXPECT_EQ(v.record.weapon_text, std::string(244, 'a'));
    EXPECT_EQ(v.record.hook, 1);

    // A piece that ends inside a character keeps the text to the last whole character.
    std::string hyo;
    for (int i = 0; i < 130; ++i) {
        hyo += "表";
    }
    EXPECT_EQ(parse_settings("ShieldText=a" + hyo + "\r\n").record.shield_text,
              "a" + hyo.substr(0, 242));
}

TEST(SettingsParse, FontFaceIsCutTo31BytesWithoutSplittingACharacter) {
    // 15 two-byte characters are 30 bytes; the 16th would end at byte 32.
    std::string kana;
    for (int i = 0; i < 16; ++i) {
        kana += "ア";
    }
    EXPECT_EQ(parse_settings("Font=" + kana + "\n").font_face, kana.substr(0, 30));
    EXPECT_EQ(parse_settings("Font=" + std::string(31, 'F') + "\n").font_face,
              std::string(31, 'F'));
    EXPECT_EQ(parse_settings("Font=" + std::string(32, 'F') + "\n").font_face,
              std::string(31, 'F'));
    EXPECT_EQ(parse_settings("Font=" + std::string(40, 'F') + "\n").font_face,
              std::string(31, 'F'));
    EXPECT_EQ(parse_settings("Font=Arial\n").font_face, "Arial");
    EXPECT_EQ(parse_settings("Font=\n").font_face, "");
}

TEST(SettingsParse, ItemWindowRequestRunsAfterEveryPieceOnceSwitchedOn) {
    int requests = 0;
    parse_settings("x=1\nItemWindow=1\nhook=1\nhookKey=2\n", [&] { ++requests; });
    EXPECT_EQ(requests, 3);  // the ItemWindow line and the two after it
    requests = 0;
    parse_settings("ItemWindow=0\nx=1\n", [&] { ++requests; });
    EXPECT_EQ(requests, 0);
}

TEST(SettingKeys, EachKeyIsWrittenOnceAndTheProgramOwnsPositionOptionsPosAndFont) {
    std::set<std::string> keys;
    std::set<std::string> program_keys;
    for (const SettingKey& k : kSettingKeys) {
        ASSERT_NE(k.key, nullptr);
        EXPECT_TRUE(keys.insert(k.key).second) << k.key;
        if (k.owner == SettingOwner::kProgram) {
            program_keys.insert(k.key);
        }
    }
    const std::set<std::string> expected = {"x",      "y",      "TopMost", "Transparent", "Weapon",
                                            "Shield", "Amulet", "Maru",    "In",          "Utsuwa",
                                            "Pos",    "Font",   "FontSize"};
    EXPECT_EQ(program_keys, expected);
}

TEST(SettingsRecord, IsCreatedHoldingItsDefaults) {
    const SettingsRecord record;
    EXPECT_EQ(record.wait, 100);
    EXPECT_EQ(record.font_color, 0xFFFFFFu);
    EXPECT_EQ(record.back_color, 0u);
    EXPECT_EQ(record.weapon_text, "\x82\xc8\x82\xb5");
    EXPECT_EQ(record.hook, 0);
    EXPECT_EQ(record, SettingsValues().record);
}

TEST(SettingsRecord, BesideTheProgramsDefaultsKeepsItsValues) {
    SettingsRecord record;
    record.wait = 7;
    record.amulet_text = "a";
    const SettingsValues v(record);
    EXPECT_EQ(v.record, record);
    EXPECT_EQ(v.x, kPositionAbsent);
    EXPECT_EQ(v.pos, 1);
    EXPECT_EQ(v.font_size, 16);
    EXPECT_EQ(option(v, kOptionWeapon), 1);
    EXPECT_EQ(option(v, kOptionTopMost), 0);
}

TEST(WorkerStopTimeout, IsWaitTimesHundredWithoutOverflow) {
    EXPECT_EQ(worker_stop_timeout_ms(100), 10000u);
    EXPECT_EQ(worker_stop_timeout_ms(1), 100u);
    EXPECT_EQ(worker_stop_timeout_ms(0), 100u);
    EXPECT_EQ(worker_stop_timeout_ms(-7), 100u);
    EXPECT_EQ(worker_stop_timeout_ms(kIntMax), 0xFFFFFFFEu);
}

}  // namespace
}  // namespace quilla

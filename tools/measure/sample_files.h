// The files the measuring tools run with: a 100-line Shift-JIS inventory for the stand-in
// host (ten equipped lines: a weapon and a shield with seals and eight amulets; the rest
// unequipped) and an item file that knows every weapon, shield, seal and amulet in it.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace quilla::measure {

inline constexpr std::size_t kInventoryLines = 100;

// The equipped lines, spread through the list; the first is the weapon, the second the
// shield (gold), the rest amulets of both spellings.
inline constexpr std::array<const char*, 10> kEquippedLines = {
    "ミスリルブレード [竜竜会炎必] (Ｅ)",
    "白銀の盾 [発見氷竜] (Ｅ金)",
    "いやしのお守り (Ｅ)",
    "お守り：まもりの霧 (Ｅ)",
    "ちからのお守り (Ｅ)",
    "お守り：風の加護 (Ｅ)",
    "ひかりのお守り (Ｅ)",
    "お守り：眠り避け (Ｅ)",
    "ほのおのお守り (Ｅ)",
    "お守り：ソーマの滴 (Ｅ)",
};

// What the unequipped lines cycle through: consumables, stacks, weapons and shields with
// and without seals, names with the 0x5C trail byte (表, 能, ソ).
inline constexpr std::array<const char*, 18> kUnequippedLines = {
    "やくそう",
    "満月草",
    "表裏の巻物",
    "能力の種",
    "ふしぎな壺/3",
    "つるはし [鎌]",
    "ブロンズソード [竜必]",
    "星くずの杖 [炎]",
    "木の盾",
    "鉄の盾 [見]",
    "おにぎり",
    "大きなおにぎり",
    "身代わりの杖/5",
    "混乱の巻物",
    "ソードブレイカー [会会]",
    "皮の盾 [発]",
    "保存の壺/4",
    "ちからの草",
};

// Names that the overlay's lines hold once a pass has read this inventory.
inline constexpr char kWeaponName[] = "ミスリルブレード";
inline constexpr char kShieldName[] = "白銀の盾";
inline constexpr char kLastAmuletName[] = "ソーマの滴";

// The inventory file: one line per list line, CR LF line ends.
inline std::string inventory_file() {
    std::string text;
    std::size_t equipped = 0;
    std::size_t unequipped = 0;
    for (std::size_t i = 0; i < kInventoryLines; ++i) {
        if (i % 10 == 4 && equipped < kEquippedLines.size()) {
            text += kEquippedLines[equipped++];
        } else {
            text += kUnequippedLines[unequipped++ % kUnequippedLines.size()];
        }
        text += "\r\n";
    }
    return text;
}

// The item file, LF line ends: the items of the inventory and a few more, as a user's
// database would hold them.
inline std::string item_file() {
    return "武器,ミスリルブレード,5\n"
           "武器,ブロンズソード,3\n"
           "武器,星くずの杖,4\n"
           "武器,つるはし,2\n"
           "武器,ソードブレイカー,4\n"
           "武器,ドラゴンキラー,6\n"
           "武器,カタナ,5\n"
           "武器,こん棒,3\n"
           "盾,白銀の盾,5\n"
           "盾,木の盾,2\n"
           "盾,鉄の盾,3\n"
           "盾,皮の盾,3\n"
           "盾,見切りの盾,4\n"
           "盾,重装の盾,6\n"
           "武器印,竜,1\n"
           "武器印,会,1\n"
           "武器印,炎,1\n"
           "武器印,必,1\n"
           "武器印,鎌,1\n"
           "盾印,発,1\n"
           "盾印,見,1\n"
           "盾印,氷,1\n"
           "盾印,竜,1\n"
           "盾印,重,2\n"
           "お守り,いやしのお守り,\n"
           "お守り,まもりの霧,\n"
           "お守り,ちからのお守り,\n"
           "お守り,風の加護,\n"
           "お守り,ひかりのお守り,\n"
           "お守り,眠り避け,\n"
           "お守り,ほのおのお守り,\n"
           "お守り,ソーマの滴,\n";
}

}  // namespace quilla::measure

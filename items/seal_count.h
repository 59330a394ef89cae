// Counting the seals in a weapon's or shield's seal list and the slots they use, against
// the weapon-seal or shield-seal table of the item database.
#pragma once

#include "items/item_db.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace quilla {

enum class SealKind { Weapon, Shield };

// Copies of a seal beyond its limit take no slots; a seal not listed has no limit. Each
// group lists single-kanji seal names (two bytes each) run together.
struct SealLimitGroup {
    int32_t limit;
    std::string_view seals;
};

inline constexpr std::array<SealLimitGroup, 3> kWeaponSealLimits = {{
    {1, "鎌必三付牙怪銀凍紅帝斬奇超識"},
    {2, "風"},
    {5, "竜"},
}};

inline constexpr std::array<SealLimitGroup, 3> kShieldSealLimits = {{
    {1, "発見影炎氷識蒸超罠奇状無界縛"},
    {2, "踊祓魔重消"},
    {5, "竜"},
}};

// How many seal names stand at the start of seal_text. Ten passes over the seal table in
// name order; each entry whose name is at the front in its turn is taken once per pass.
// Used to pad the list with "○" for the free slots.
int32_t count_seal_tokens(std::string_view seal_text, const ItemTables& tables, SealKind kind);

// The slots that the seals at the start of seal_text use: at most ten names, the first
// matching entry in name order each time. Copies of a seal beyond its repeat limit use no
// slots. The sum stops at the int32 limits.
int32_t seal_slot_usage(std::string_view seal_text, const ItemTables& tables, SealKind kind);

}  // namespace quilla

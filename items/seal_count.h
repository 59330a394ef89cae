// Counting the seals in a weapon's or shield's seal list and the slots they use, against
// the weapon-seal or shield-seal table of the item database. The gear is named by its
// category: kWeapon reads the weapon-seal table and limits, kShield the shield-seal ones;
// any other category has no seal table, so nothing is counted and both functions give 0.
#pragma once

#include "base/program_texts.h"
#include "items/item_db.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace quilla {

// Copies of a seal beyond its limit take no slots; a seal not listed has no limit. Each
// group lists single-kanji seal names (two bytes each) run together.
struct SealLimitGroup {
    int32_t limit;
    std::string_view seals;
};

inline constexpr std::array<SealLimitGroup, 3> kWeaponSealLimits = {{
    {1, texts::kWeaponSealsOneSlot},
    {2, texts::kWeaponSealsTwoSlots},
    {5, texts::kSealsFiveSlots},
}};

inline constexpr std::array<SealLimitGroup, 3> kShieldSealLimits = {{
    {1, texts::kShieldSealsOneSlot},
    {2, texts::kShieldSealsTwoSlots},
    {5, texts::kSealsFiveSlots},
}};

// How many seal names stand at the start of seal_text. Ten passes over the seal table in
// name order; each entry whose name is at the front in its turn is taken once per pass.
// Used to pad the list with "○" for the free slots.
int32_t count_seal_tokens(std::string_view seal_text, const ItemTables& tables, Category gear);

// The slots that the seals at the start of seal_text use: at most ten names, the first
// matching entry in name order each time. Copies of a seal beyond its repeat limit use no
// slots. The sum stops at the int32 limits.
int32_t seal_slot_usage(std::string_view seal_text, const ItemTables& tables, Category gear);

}  // namespace quilla

// The seal table's passes over a seal text and the repeat limits of each seal.
#include "items/seal_count.h"

#include "base/program_texts.h"
#include "base/saturating.h"
#include "base/text.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>

namespace quilla {

namespace {

constexpr int kPasses = 10;

constexpr int32_t kNoLimit = std::numeric_limits<int32_t>::max();
constexpr std::size_t kKanjiBytes = 2;

int32_t limit_in(const std::array<SealLimitGroup, 3>& groups, std::string_view seal) noexcept {
    if (seal.size() != kKanjiBytes) {
        return kNoLimit;
    }
    for (const SealLimitGroup& group : groups) {
        for (std::size_t at = 0; at + kKanjiBytes <= group.seals.size(); at += kKanjiBytes) {
            if (group.seals.substr(at, kKanjiBytes) == seal) {
                return group.limit;
            }
        }
    }
    return kNoLimit;
}

// Only asked for gear that has a seal table (kWeapon or kShield).
int32_t repeat_limit(std::string_view seal, Category gear) noexcept {
    return gear == Category::kWeapon ? limit_in(kWeaponSealLimits, seal)
                                     : limit_in(kShieldSealLimits, seal);
}

// Nothing for a category other than kWeapon and kShield.
const ItemTable* seal_table(const ItemTables& tables, Category gear) noexcept {
    if (gear == Category::kWeapon) {
        return &tables.weapon_seal;
    }
    if (gear == Category::kShield) {
        return &tables.shield_seal;
    }
    return nullptr;
}

// An empty name would "match" everywhere without taking any text, so it is never a seal.
bool is_at_front(std::string_view text, const std::string& name) noexcept {
    return !name.empty() && starts_with(text, name);
}

}  // namespace

int32_t count_seal_tokens(std::string_view seal_text, const ItemTables& tables, Category gear) {
    const ItemTable* const seals = seal_table(tables, gear);
    if (seals == nullptr) {
        return 0;
    }
    const ItemTable& table = *seals;
    std::size_t count = 0;  // at most the text's size: every name takes at least one byte
    for (int pass = 0; pass < kPasses && !seal_text.empty(); ++pass) {
        for (const auto& entry : table) {
            if (is_at_front(seal_text, entry.first)) {
                seal_text.remove_prefix(entry.first.size());
                ++count;
            }
        }
    }
    return static_cast<int32_t>(std::min<std::size_t>(count, kNoLimit));
}

int32_t seal_slot_usage(std::string_view seal_text, const ItemTables& tables, Category gear) {
    const ItemTable* const seals = seal_table(tables, gear);
    if (seals == nullptr) {
        return 0;
    }
    const ItemTable& table = *seals;
    std::map<std::string_view, int32_t> occurrences;
    int32_t sum = 0;
    for (int pass = 0; pass < kPasses; ++pass) {
        auto taken = table.begin();
        while (taken != table.end() && !is_at_front(seal_text, taken->first)) {
            ++taken;
        }
        if (taken == table.end()) {
            break;  // nothing at the front now, and nothing will be in a later pass
        }
        const auto& [name, slots] = *taken;
        seal_text.remove_prefix(name.size());
        if (++occurrences[name] <= repeat_limit(name, gear)) {
            sum = saturating_add(sum, slots);
        }
    }
    return sum;
}

}  // namespace quilla

// Fuzz target: seal counting against any seal tables. The count of seals is never more
// than the text has bytes, the slots used never more than ten seals' worth, and an empty
// text counts nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tests/support/fuzz_support.h"
#include "items/item_file.h"
#include "items/seal_count.h"

using namespace quilla;
using quilla::fuzz::require;

namespace {

// The bounds of ten seals' slots from a table: ten times its most negative and most
// positive value (or 0).
void require_usage_in_range(int32_t usage, const ItemTable& table) {
    int64_t lowest = 0;
    int64_t highest = 0;
    for (const auto& entry : table) {
        lowest = std::min<int64_t>(lowest, entry.second);
        highest = std::max<int64_t>(highest, entry.second);
    }
    require(usage >= std::max<int64_t>(10 * lowest, INT32_MIN) &&
                usage <= std::min<int64_t>(10 * highest, INT32_MAX),
            "the slots used are at most ten seals' worth");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // An item file with the seal tables, the separator, the seal text.
    const auto [items, seals] = fuzz::split_input({reinterpret_cast<const char*>(data), size});
    ItemTables tables;
    read_startup_item_file(items, tables);
    for (const Category kind : {Category::kWeapon, Category::kShield}) {
        const int32_t count = count_seal_tokens(seals, tables, kind);
        require(count >= 0 && static_cast<std::size_t>(count) <= seals.size(),
                "no more seals than bytes");
        const int32_t usage = seal_slot_usage(seals, tables, kind);
        require_usage_in_range(usage,
                               kind == Category::kWeapon ? tables.weapon_seal : tables.shield_seal);
        if (seals.empty()) {
            require(count == 0 && usage == 0, "an empty text counts nothing");
        }
    }
    return 0;
}

// Fuzz target: the item file readers (start-up, load into tables that already hold
// entries, reset). Whatever they read, writing it and reading the result again gives the
// same tables; a load keeps every category the file lacks; a reset keeps the amulets.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tests/support/fuzz_support.h"
#include "items/item_file.h"

using namespace quilla;
using quilla::fuzz::require;

namespace {

constexpr Category kCategories[] = {Category::kWeapon, Category::kShield, Category::kAmulet,
                                    Category::kWeaponSeal, Category::kShieldSeal};

// Names read from a file of whole characters end on a whole character.
void require_whole_names(const ItemTables& tables) {
    for (Category category : kCategories) {
        for (const auto& entry : tables[category]) {
            require(!fuzz::ends_in_half_character(entry.first), "a name ends on a whole character");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // The tables held before the file is read, then the file.
    const auto [before_bytes, file] =
        fuzz::split_input({reinterpret_cast<const char*>(data), size});

    ItemTables startup;
    read_startup_item_file(file, startup);
    ItemTables again;
    read_startup_item_file(format_item_file(startup), again);
    require(again == startup, "start-up read, write, read gives the same tables");
    if (fuzz::is_whole_sjis(file)) {
        require_whole_names(startup);
    }

    ItemTables before;
    read_startup_item_file(before_bytes, before);
    const std::optional<std::string> opened{std::string(file)};
    ItemTables held;  // what the file holds, read by the load reader
    load_item_file(opened, held);
    ItemTables loaded = before;
    load_item_file(opened, loaded);
    for (Category category : kCategories) {
        const ItemTable& expected = held[category].empty() ? before[category] : held[category];
        require(loaded[category] == expected, "a load replaces exactly the categories it holds");
    }
    ItemTables reloaded;
    load_item_file(format_item_file(loaded), reloaded);
    require(reloaded == loaded, "load, write, load gives the same tables");

    ItemTables reset = before;
    reset_item_file(opened, reset);
    require(reset.amulet == before.amulet, "a reset keeps the amulets");
    ItemTables reset_again = before;
    reset_item_file(format_item_file(reset), reset_again);
    require(reset_again == reset, "reset, write, reset gives the same tables");
    return 0;
}

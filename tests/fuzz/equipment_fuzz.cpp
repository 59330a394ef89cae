// Fuzz target: the equipment parser on any inventory lines against any small item
// database, with any display options. Kinds and slot counts stay in range, every display
// line is set, and lines of whole Shift-JIS characters never give a line that ends in
// half of one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/fuzz_support.h"
#include "host/equipment_parser.h"
#include "items/item_file.h"

using namespace quilla;
using quilla::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // One byte of options, an item file, the separator, the inventory's lines.
    const LineOptions options{(data[0] & 1) != 0, (data[0] & 2) != 0, (data[0] & 4) != 0};
    const auto [items, inventory] =
        fuzz::split_input({reinterpret_cast<const char*>(data) + 1, size - 1});
    ItemTables tables;
    read_startup_item_file(items, tables);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start <= inventory.size();) {
        const std::size_t end = std::min(inventory.find('\n', start), inventory.size());
        lines.emplace_back(inventory.substr(start, end - start));
        start = end + 1;
    }

    for (const std::string& line : lines) {
        if (const auto equipped = filter_equipped_line(line)) {
            const ItemClass item = classify_item(*equipped, tables);
            require(!item.kind || item.kind == Category::kWeapon ||
                        item.kind == Category::kShield || item.kind == Category::kAmulet,
                    "a known kind");
            require(item.kind == Category::kWeapon || item.kind == Category::kShield ||
                        item.slots == -1,
                    "only weapons and shields have a slot count");
        }
    }
    const NothingTexts nothing{"w", "s", "a"};
    const EquipmentState state = parse_equipment(lines, tables, options, nothing);
    for (const std::string* shown : {&state.weapon_line, &state.shield_line, &state.amulet_line}) {
        require(!shown->empty(), "every line shows something");
    }
    if (fuzz::is_whole_sjis(items) && fuzz::is_whole_sjis(inventory)) {
        for (const std::string* shown :
             {&state.weapon_line, &state.shield_line, &state.amulet_line}) {
            require(!fuzz::ends_in_half_character(*shown), "a line ends on a whole character");
        }
    }
    return 0;
}

// Fuzz target: which item name the slot-count commands act on. The name is always the
// front of one of the two lines (after a leading gold mark), nothing when the point is on
// no line, and a line of whole Shift-JIS characters gives a name that ends on one.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/slot_target.h"
#include "fuzz_support.h"

using namespace quilla;
using quilla::fuzz::require;

namespace {

bool is_front_of(std::string_view name, std::string_view line) {
    return line.substr(0, name.size()) == name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int client_y = input.ConsumeIntegral<int>();
    const int32_t line_height = input.ConsumeIntegral<int32_t>();
    const bool weapon_on = input.ConsumeBool();
    const bool shield_on = input.ConsumeBool();
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const auto [weapon_line, shield_line] = fuzz::split_input(rest);

    const std::string name =
        slot_target_name(client_y, line_height, weapon_on, shield_on, weapon_line, shield_line);
    if (line_height <= 0 || client_y < 0 || (!weapon_on && !shield_on)) {
        require(name.empty(), "no name off the lines");
    }
    for (const std::string_view line : {weapon_line, shield_line}) {
        const std::string_view reduced = item_name_of_line(line);
        const std::string_view gold = "\x81\x9a";  // the gold mark before a line
        require(is_front_of(reduced, line) ||
                    (line.substr(0, gold.size()) == gold && is_front_of(reduced, line.substr(2))),
                "the name is the front of its line");
        if (fuzz::is_whole_sjis(line)) {
            require(!fuzz::ends_in_half_character(reduced), "the name ends on a whole character");
        }
    }
    return 0;
}

// Fuzz target: which item name the slot-count commands act on, on lines laid out as the
// drawing lays them out. The name is always the front of one of the two lines (after a
// leading gold mark), nothing when the point is on no weapon or shield line, and a line
// of whole Shift-JIS characters gives a name that ends on one.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/slot_target.h"
#include "overlay/overlay_layout.h"
#include "overlay/shown_lines.h"
#include "tests/support/fuzz_support.h"

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
    const int32_t line_step = input.ConsumeIntegral<int32_t>();
    const bool weapon_on = input.ConsumeBool();
    const bool shield_on = input.ConsumeBool();
    const bool amulet_on = input.ConsumeBool();
    const bool host_refuses = input.ConsumeBool();
    std::vector<std::optional<Size>> extents;
    for (int i = 0; i < 3; ++i) {
        extents.push_back(Size{10, input.ConsumeIntegral<int32_t>()});
    }
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const auto [weapon_line, shield_line] = fuzz::split_input(rest);

    const EquipmentState state{std::string(weapon_line), std::string(shield_line), "amulet"};
    std::vector<OverlayLine> lines =
        shown_lines(state, weapon_on, shield_on, amulet_on, host_refuses);
    extents.resize(lines.size());
    const std::vector<LineBand> bands = line_bands(line_step, extents);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lines[i].band = bands[i];
    }
    const std::string name = slot_target_name(client_y, lines);
    bool on_a_target = false;
    for (const OverlayLine& line : lines) {
        const bool target = line.role == LineRole::kWeapon || line.role == LineRole::kShield;
        on_a_target = on_a_target || (target && line.band.top <= client_y &&
                                      client_y < int64_t{line.band.top} + line.band.height);
    }
    if (!on_a_target) {
        require(name.empty(), "no name off the weapon and shield lines");
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

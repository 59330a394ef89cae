// Turning the host application's inventory lines into the three display lines of the
// overlay: which lines are equipped, which of them is the weapon, the shield or an amulet,
// and how the weapon and shield lines show their seals and slot counts. Pure functions on
// Shift-JIS byte strings; positions are byte offsets.
#pragma once

#include "items/item_db.h"
#include "items/seal_count.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

// Keeps an inventory line only when it carries the equipped mark ("Ｅ" at or after the
// first "("), removes the bracketed mark and puts "★" in front of a gold ("金") one.
std::optional<std::string> filter_equipped_line(std::string_view inventory_line);

// What an equipped line is.
struct ItemClass {
    std::optional<Category> kind;  // kWeapon, kShield or kAmulet; nothing when none of them
    int32_t slots;                 // the item's slot count; -1 unless a weapon or shield

    friend bool operator==(const ItemClass&, const ItemClass&) = default;
};

// Looks the line up in the weapon, shield and amulet tables in this order, each in name
// order: the first name that occurs anywhere in the line decides. Failing that, a line
// with "のお守り" or "お守り：" is an amulet.
ItemClass classify_item(std::string_view equipped_line, const ItemTables& tables);

// The display options that shape the weapon and shield lines; the caller sets each from
// its option state (on only when the state is 1).
struct LineOptions {
    bool hide_seals_over_capacity = false;  // option 1024: no seal list when usage > slots
    bool show_slot_usage = false;           // option 1025: append " (usage/slots)"
    bool pad_with_maru = false;             // option 1027: pad the seal list with "○" to ten
};

// The display line of a weapon (gear kWeapon) or shield (gear kShield): the name, the
// bracketed seal list and, as options asks, the slot usage and count. For another category
// no seal is counted (items/seal_count.h): the usage is 0 and padding adds ten "○".
std::string build_gear_line(std::string_view equipped_line, int32_t slots, Category gear,
                            const ItemTables& tables, const LineOptions& options);

// The amulet display line: each amulet's name (from "…のお守り" or "お守り：…") followed by
// a space, in list order.
std::string build_amulet_text(const std::vector<std::string>& amulet_lines);

struct EquipmentState {
    std::string weapon_line;
    std::string shield_line;
    std::string amulet_line;

    friend bool operator==(const EquipmentState&, const EquipmentState&) = default;
};

// What each line shows when nothing of its kind is equipped.
struct NothingTexts {
    std::string weapon;
    std::string shield;
    std::string amulet;
};

// One parsing step of a render pass: the raw lines of the inventory window in, the three
// display lines out. A later equipped line of the same kind replaces an earlier one.
EquipmentState parse_equipment(const std::vector<std::string>& inventory_lines,
                               const ItemTables& tables, const LineOptions& options,
                               const NothingTexts& nothing);

// The names the overlay cannot recognise among the host's inventory lines, for the item
// editor's table of category, in list order and each once. For the weapon and shield
// tables: each equipped line that no weapon, shield or amulet name matches (nor the amulet
// words), cut before its equipped mark and its seal list, without the blanks it then
// ends in. For the seal tables: in the seal list of each equipped weapon (shield) line,
// each character where no weapon-seal (shield-seal) name begins, blanks aside. Nothing
// for the amulet table.
std::vector<std::string> unrecognised_names(const std::vector<std::string>& inventory_lines,
                                            Category category, const ItemTables& tables);

}  // namespace quilla

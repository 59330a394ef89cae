// The byte-level steps of the parse: the equipped mark, the first known name, the seal list.
#include "host/equipment_parser.h"

#include "base/program_texts.h"
#include "base/text.h"

#include <algorithm>
#include <string_view>

namespace quilla {

namespace {

constexpr std::size_t npos = std::string_view::npos;
constexpr std::string_view kEquippedMark = texts::kEquippedMark;
constexpr std::string_view kGoldMark = texts::kGoldMark;
constexpr std::string_view kGoldPrefix = texts::kGoldStar;
constexpr std::string_view kAmuletSuffix = texts::kAmuletSuffix;
constexpr std::string_view kAmuletLabel = texts::kAmuletLabel;
constexpr std::string_view kFreeSlot = texts::kFreeSlot;
constexpr int32_t kSealListLength = 10;

// The filter's cut: the bytes from the first "(" (at open) through the first ")" of the
// whole line. Without a ")", or when the first one lies before open - 1, everything from
// open to the end of the line goes.
std::string remove_mark(std::string_view line, std::size_t open) {
    const std::size_t close = line.find(')');
    std::string out(line.substr(0, open));
    if (close == npos || close + 1 < open) {
        return out;
    }
    const std::size_t count = close + 1 - open;
    if (open + count < line.size()) {
        out.append(line.substr(open + count));
    }
    return out;
}

// Where the last character that is the single byte c begins. The trail byte of a
// double-byte character can equal "[" or "]" ("ー" is 81 5B, "ゼ" 83 5B, "ゾ" 83 5D); such
// a byte is part of its character and is not found.
std::size_t find_last_single_byte_char(std::string_view text, char c) noexcept {
    std::size_t found = npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == c) {
            found = i;
        } else if (is_sjis_lead_byte(static_cast<unsigned char>(text[i]))) {
            ++i;
        }
    }
    return found;
}

// True when the byte at pos begins a character rather than ending a double-byte one.
bool begins_character(std::string_view text, std::size_t pos) noexcept {
    std::size_t i = 0;
    while (i < pos) {
        i += is_sjis_lead_byte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return i == pos;
}

std::string_view cut_at_slash(std::string_view text) noexcept {
    return text.substr(0, text.find('/'));
}

bool contains(std::string_view text, std::string_view part) noexcept {
    return text.find(part) != npos;
}

// The first name of table, in name order, that occurs in line. An empty name would occur in
// every line, so it never matches.
const ItemTable::value_type* first_name_in(std::string_view line, const ItemTable& table) {
    for (const auto& entry : table) {
        if (!entry.first.empty() && contains(line, entry.first)) {
            return &entry;
        }
    }
    return nullptr;
}

struct GearParts {
    std::string_view name;   // the line before its seal list
    std::string_view seals;  // what stands inside the brackets; empty without a list
};

// Splits a weapon or shield line at its seal list "name [seals]". The list starts at the
// last "[" character; one at the very start of the line is not a list. The separator byte
// before "[" (normally a space) is dropped, but never half of a double-byte character.
GearParts split_seal_list(std::string_view line) {
    const std::size_t open = find_last_single_byte_char(line, '[');
    if (open == npos || open == 0) {
        return {line, {}};
    }
    const std::size_t close = find_last_single_byte_char(line, ']');
    const std::size_t end = close != npos && close > open ? close : line.size();
    const std::size_t name_end = begins_character(line, open - 1) ? open - 1 : open;
    return {line.substr(0, name_end), line.substr(open + 1, end - open - 1)};
}

void append_padded_seals(std::string& out, std::string_view seals, const ItemTables& tables,
                         Category gear, bool pad) {
    out += '[';
    out += seals;
    if (pad) {
        for (int32_t n = count_seal_tokens(seals, tables, gear); n < kSealListLength; ++n) {
            out += kFreeSlot;
        }
    }
    out += ']';
}

std::string or_nothing(std::string text, const std::string& nothing) {
    return text.empty() ? nothing : text;
}

}  // namespace

std::optional<std::string> filter_equipped_line(std::string_view inventory_line) {
    const std::size_t open = inventory_line.find('(');
    if (open == npos || inventory_line.find(kEquippedMark, open) == npos) {
        return std::nullopt;
    }
    const bool gold = inventory_line.find(kGoldMark, open) != npos;
    std::string line = remove_mark(inventory_line, open);
    if (gold) {
        line.insert(0, kGoldPrefix);
    }
    return line;
}

ItemClass classify_item(std::string_view equipped_line, const ItemTables& tables) {
    if (const auto* weapon = first_name_in(equipped_line, tables.weapon)) {
        return {Category::kWeapon, weapon->second};
    }
    if (const auto* shield = first_name_in(equipped_line, tables.shield)) {
        return {Category::kShield, shield->second};
    }
    if (first_name_in(equipped_line, tables.amulet) != nullptr ||
        contains(equipped_line, kAmuletSuffix) || contains(equipped_line, kAmuletLabel)) {
        return {Category::kAmulet, -1};
    }
    return {std::nullopt, -1};
}

std::string build_gear_line(std::string_view equipped_line, int32_t slots, Category gear,
                            const ItemTables& tables, const LineOptions& options) {
    const GearParts parts = split_seal_list(equipped_line);
    const int32_t used = seal_slot_usage(parts.seals, tables, gear);
    std::string out(cut_at_slash(parts.name));
    if (!(options.hide_seals_over_capacity && used > slots)) {
        append_padded_seals(out, parts.seals, tables, gear, options.pad_with_maru);
    }
    if (options.show_slot_usage) {
        out.append(" (").append(std::to_string(used)).append("/");
        out.append(std::to_string(slots)).append(")");
    }
    return out;
}

std::string build_amulet_text(const std::vector<std::string>& amulet_lines) {
    std::string out;
    for (const std::string& amulet : amulet_lines) {
        std::string line(cut_at_slash(amulet));
        if (const std::size_t at = line.rfind(kAmuletSuffix); at != npos) {
            line.erase(at, kAmuletSuffix.size());
            out.append(line).append(" ");
        }
        if (const std::size_t at = line.find(kAmuletLabel); at != npos) {
            line.erase(at, kAmuletLabel.size());
            out.append(line).append(" ");
        }
    }
    return out;
}

EquipmentState parse_equipment(const std::vector<std::string>& inventory_lines,
                               const ItemTables& tables, const LineOptions& options,
                               const NothingTexts& nothing) {
    std::string weapon;
    std::string shield;
    std::vector<std::string> amulets;
    for (const std::string& raw : inventory_lines) {
        std::optional<std::string> line = filter_equipped_line(raw);
        if (!line) {
            continue;
        }
        const ItemClass item = classify_item(*line, tables);
        if (item.kind == Category::kWeapon) {
            weapon = build_gear_line(*line, item.slots, Category::kWeapon, tables, options);
        } else if (item.kind == Category::kShield) {
            shield = build_gear_line(*line, item.slots, Category::kShield, tables, options);
        } else if (item.kind == Category::kAmulet) {
            amulets.push_back(std::move(*line));
        }
    }
    return {or_nothing(std::move(weapon), nothing.weapon),
            or_nothing(std::move(shield), nothing.shield),
            or_nothing(build_amulet_text(amulets), nothing.amulet)};
}

namespace {

std::string_view without_trailing_blanks(std::string_view text) noexcept {
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

void add_once(std::vector<std::string>& names, std::string_view name) {
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
        names.emplace_back(name);
    }
}

// The seal names in seals where no name of table begins: one character each.
void add_unknown_seals(std::vector<std::string>& names, std::string_view seals,
                       const ItemTable& table) {
    std::size_t pos = 0;
    while (pos < seals.size()) {
        const std::string_view rest = seals.substr(pos);
        const auto known = std::find_if(table.begin(), table.end(), [&](const auto& entry) {
            return !entry.first.empty() && starts_with(rest, entry.first);
        });
        if (known != table.end()) {
            pos += known->first.size();
            continue;
        }
        const std::size_t width =
            is_sjis_lead_byte(static_cast<unsigned char>(rest[0])) && rest.size() > 1 ? 2 : 1;
        if (rest[0] != ' ') {
            add_once(names, rest.substr(0, width));
        }
        pos += width;
    }
}

}  // namespace

std::vector<std::string> unrecognised_names(const std::vector<std::string>& inventory_lines,
                                            Category category, const ItemTables& tables) {
    std::vector<std::string> names;
    for (const std::string& raw : inventory_lines) {
        const std::optional<std::string> line = filter_equipped_line(raw);
        if (!line) {
            continue;
        }
        const std::optional<Category> kind = classify_item(*line, tables).kind;
        if ((category == Category::kWeapon || category == Category::kShield) && !kind) {
            const std::string_view unmarked = std::string_view(raw).substr(0, raw.find('('));
            add_once(names, without_trailing_blanks(
                                split_seal_list(without_trailing_blanks(unmarked)).name));
        } else if ((category == Category::kWeaponSeal && kind == Category::kWeapon) ||
                   (category == Category::kShieldSeal && kind == Category::kShield)) {
            add_unknown_seals(names, split_seal_list(*line).seals, tables[category]);
        }
    }
    return names;
}

}  // namespace quilla

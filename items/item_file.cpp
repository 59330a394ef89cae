// Line reading by category prefix, the three ways of loading, and the writer.
#include "items/item_file.h"

#include "base/program_texts.h"
#include "base/text.h"

#include <initializer_list>
#include <utility>

namespace quilla {

namespace {

std::string_view prefix_of(Category category) noexcept {
    switch (category) {
        case Category::kWeapon:
            return texts::kWeaponSection;
        case Category::kShield:
            return texts::kShieldSection;
        case Category::kAmulet:
            return texts::kAmuletSection;
        case Category::kWeaponSeal:
            return texts::kWeaponSealSection;
        case Category::kShieldSeal:
            return texts::kShieldSealSection;
    }
    return {};
}

// Tests one line against the prefixes in order. A value's full-width digits count as
// its ASCII ones. A matching prefix is cut off and the rest
// is what the following prefixes see, so a name that is itself a category word followed by
// a further comma stores a second entry.
void read_line(std::string_view line, std::initializer_list<Category> order, ItemTables& tables) {
    for (Category category : order) {
        const std::string_view prefix = prefix_of(category);
        if (!starts_with(line, prefix)) {
            continue;
        }
        line.remove_prefix(prefix.size());
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) {
            continue;
        }
        const int32_t value = category == Category::kAmulet
                                  ? 0
                                  : parse_decimal_int(ascii_digits(line.substr(comma + 1)));
        set(tables, category, std::string(line.substr(0, comma)), value);
    }
}

void read_lines(std::string_view bytes, std::initializer_list<Category> order, ItemTables& tables) {
    for (std::string_view piece : split_pieces(bytes, kLineBytes)) {
        read_line(piece, order, tables);
    }
}

}  // namespace

bool fits_item_file(std::string_view name) noexcept {
    // Shift-JIS trail bytes start at 0x40, so a comma byte is always a comma.
    return name.find(',') == std::string_view::npos;
}

void read_startup_item_file(std::string_view bytes, ItemTables& live) {
    read_lines(bytes,
               {Category::kWeapon, Category::kShield, Category::kAmulet, Category::kWeaponSeal,
                Category::kShieldSeal},
               live);
}

void load_item_file(const std::optional<std::string>& bytes, ItemTables& target) {
    if (!bytes) {
        return;
    }
    ItemTables remembered = std::exchange(target, ItemTables{});
    read_lines(*bytes,
               {Category::kWeapon, Category::kShield, Category::kWeaponSeal, Category::kShieldSeal,
                Category::kAmulet},
               target);
    for (Category category : kAllCategories) {
        if (target[category].empty()) {
            target[category] = std::move(remembered[category]);
        }
    }
}

void reset_item_file(const std::optional<std::string>& bytes, ItemTables& live) {
    const std::initializer_list<Category> order = {Category::kWeapon, Category::kShield,
                                                   Category::kWeaponSeal, Category::kShieldSeal};
    for (Category category : order) {
        clear(live, category);
    }
    if (bytes) {
        read_lines(*bytes, order, live);
    }
}

std::string format_item_file(const ItemTables& tables) {
    std::string out;
    for (Category category :
         {Category::kWeapon, Category::kShield, Category::kWeaponSeal, Category::kShieldSeal}) {
        for (const auto& [name, slots] : tables[category]) {
            out.append(prefix_of(category)).append(name).append(",");
            out.append(std::to_string(slots)).append("\n");
        }
    }
    for (const auto& entry : tables.amulet) {
        out.append(prefix_of(Category::kAmulet)).append(entry.first).append(",\n");
    }
    return out;
}

}  // namespace quilla

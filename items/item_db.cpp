// The table operations by category, and the live database's snapshot and change.
#include "items/item_db.h"

#include "base/saturating.h"

#include <utility>

namespace quilla {

ItemTable& ItemTables::operator[](Category category) noexcept {
    const ItemTables& self = *this;
    return const_cast<ItemTable&>(self[category]);
}

const ItemTable& ItemTables::operator[](Category category) const noexcept {
    switch (category) {
        case Category::kWeapon:
            return weapon;
        case Category::kShield:
            return shield;
        case Category::kAmulet:
            return amulet;
        case Category::kWeaponSeal:
            return weapon_seal;
        case Category::kShieldSeal:
            return shield_seal;
    }
    return weapon;  // not reached: every category is handled above
}

std::optional<int32_t> find(const ItemTables& tables, Category category, const std::string& name) {
    const ItemTable& table = tables[category];
    auto it = table.find(name);
    if (it == table.end()) {
        return std::nullopt;
    }
    return it->second;
}

void set(ItemTables& tables, Category category, const std::string& name, int32_t slots) {
    tables[category].insert_or_assign(name, slots);
}

void erase(ItemTables& tables, Category category, const std::string& name) {
    tables[category].erase(name);
}

namespace {

void adjust_in(ItemTable& table, const std::string& name, int32_t delta) {
    auto it = table.find(name);
    if (it != table.end()) {
        it->second = saturating_add(it->second, delta);
    }
}

}  // namespace

void adjust(ItemTables& tables, const std::string& name, int32_t delta) {
    adjust_in(tables.weapon, name, delta);
    adjust_in(tables.shield, name, delta);
}

void clear(ItemTables& tables, Category category) {
    tables[category].clear();
}

std::size_t size(const ItemTables& tables, Category category) {
    return tables[category].size();
}

ItemDatabase::ItemDatabase() = default;

std::shared_ptr<const ItemTables> ItemDatabase::snapshot() const {
    return tables_.snapshot();
}

void ItemDatabase::modify(const std::function<void(ItemTables&)>& change) {
    tables_.update(change);
}

void ItemDatabase::replace(ItemTables tables) {
    tables_.publish(std::move(tables));
}

ItemDatabase& item_database() {
    static ItemDatabase* const instance = new ItemDatabase();
    return *instance;
}

}  // namespace quilla

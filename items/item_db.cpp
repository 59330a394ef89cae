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

ItemTables rebase(const ItemTables& onto, const ItemTables& from, const ItemTables& to) {
    ItemTables out = onto;
    for (Category category : kAllCategories) {
        const ItemTable& before = from[category];
        const ItemTable& after = to[category];
        for (const auto& [name, slots] : after) {
            const auto was = before.find(name);
            if (was == before.end() || was->second != slots) {
                set(out, category, name, slots);
            }
        }
        for (const auto& entry : before) {
            if (after.count(entry.first) == 0) {
                erase(out, category, entry.first);
            }
        }
    }
    return out;
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

std::shared_ptr<const ItemTables> ItemDatabase::saved() const {
    return saved_.snapshot();
}

void ItemDatabase::mark_saved(ItemTables tables) {
    saved_.publish(std::move(tables));
}

bool ItemDatabase::unsaved() const {
    return *snapshot() != *saved();
}

void ItemDatabase::load(const std::function<void(ItemTables&)>& read) {
    saved_.update(read);
    tables_.update(read);
}

ItemDatabase& item_database() {
    static ItemDatabase* const instance = new ItemDatabase();
    return *instance;
}

}  // namespace quilla

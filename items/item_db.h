// The item database: five name-keyed tables (weapons, shields, amulets and the two kinds of
// seals) with the operations the overlay, the context menu and the item editor use, and the
// live copy that the window thread changes while the render worker reads it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "base/published.h"

namespace quilla {

enum class Category { kWeapon, kShield, kAmulet, kWeaponSeal, kShieldSeal };

// Name to value. std::string compares its bytes as unsigned char, so iteration runs in
// plain byte order: a proper prefix first, full-width and half-width forms distinct.
using ItemTable = std::map<std::string, int32_t>;

struct ItemTables {
    ItemTable weapon;
    ItemTable shield;
    ItemTable amulet;
    ItemTable weapon_seal;
    ItemTable shield_seal;

    ItemTable& operator[](Category category) noexcept;
    const ItemTable& operator[](Category category) const noexcept;

    friend bool operator==(const ItemTables&, const ItemTables&) = default;
};

// The value stored under name, or nothing when the name is absent.
std::optional<int32_t> find(const ItemTables& tables, Category category, const std::string& name);

// Inserts the entry or replaces the value of an existing one.
void set(ItemTables& tables, Category category, const std::string& name, int32_t slots);

// Removes the entry; an absent name is left alone.
void erase(ItemTables& tables, Category category, const std::string& name);

// Changes the slot count of name by delta in the weapon table and, independently, in the
// shield table, wherever the name is present. An absent name is not inserted. The result
// stops at the int32 limits instead of overflowing.
void adjust(ItemTables& tables, const std::string& name, int32_t delta);

void clear(ItemTables& tables, Category category);

std::size_t size(const ItemTables& tables, Category category);

// The live tables. The window thread is the only writer; the render worker reads. Every
// change builds a new set of tables and publishes it with a pointer swap, so a reader's
// snapshot never changes under it and a reader waits at most for that swap.
class ItemDatabase {
  public:
    ItemDatabase();
    ItemDatabase(const ItemDatabase&) = delete;
    ItemDatabase& operator=(const ItemDatabase&) = delete;

    // The current tables; cheap. Keep it for a whole pass to see one consistent state.
    std::shared_ptr<const ItemTables> snapshot() const;

    // Copies the current tables, lets change edit the copy and publishes the result.
    // Writers are serialised, so two changes never lose each other.
    void modify(const std::function<void(ItemTables&)>& change);

    // Publishes tables as the new contents.
    void replace(ItemTables tables);

  private:
    Published<ItemTables> tables_;
};

// The process-wide database: created on first use and never destroyed, so a worker thread
// that outlives main never reaches a destroyed object.
ItemDatabase& item_database();

}  // namespace quilla

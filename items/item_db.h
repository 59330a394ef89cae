// The item database: five name-keyed tables (weapons, shields, amulets and the two kinds of
// seals) with the operations the overlay, the context menu and the item editor use, and the
// live copy that the window thread changes while the render worker reads it.
#pragma once

#include <array>
#include <atomic>
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

inline constexpr std::array kAllCategories = {Category::kWeapon, Category::kShield,
                                              Category::kAmulet, Category::kWeaponSeal,
                                              Category::kShieldSeal};

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

// The changes that turned from into to (entries added, given another value or removed),
// made again on onto: what the player changed, kept over a file read since.
ItemTables rebase(const ItemTables& onto, const ItemTables& from, const ItemTables& to);

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

    // The tables as an item file last held them: read at start, loaded, or saved. The
    // live tables differ from them while there are unsaved changes, whatever made them
    // (the item editor, the slot-count commands).
    std::shared_ptr<const ItemTables> saved() const;
    void mark_saved(ItemTables tables);
    bool unsaved() const;
    // Reads a file into the live tables and the saved ones alike: read is given each.
    void load(const std::function<void(ItemTables&)>& read);

    // Whether "items.txt" was there at start but could not be read, and has not been read
    // or written since: a save under its name would write over entries never seen.
    bool item_file_unread() const noexcept { return item_file_unread_.load(); }
    void set_item_file_unread(bool unread) noexcept { item_file_unread_.store(unread); }

  private:
    Published<ItemTables> tables_;
    Published<ItemTables> saved_;
    std::atomic<bool> item_file_unread_{false};
};

// The process-wide database: created on first use and never destroyed, so a worker thread
// that outlives main never reaches a destroyed object.
ItemDatabase& item_database();

}  // namespace quilla

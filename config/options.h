// The display options that the context menu shows as check items. An option's id is its
// menu command id; its state is a signed int that counts as on only when it equals 1.
// The set of ids is fixed, so the table never changes shape while the render worker
// reads it; each state is an atomic int that either thread may read or flip.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace quilla {

enum OptionId : int32_t {
    kOptionTopMost = 1000,
    kOptionTransparent = 1010,
    kOptionWeapon = 1021,
    kOptionShield = 1022,
    kOptionAmulet = 1023,
    kOptionIn = 1024,
    kOptionUtsuwa = 1025,
    kOptionMaru = 1027,
};

struct OptionInfo {
    int32_t id;
    const char* key;  // settings-file key without "="
    int32_t default_state;
};

// In the order the settings file writes them and the menu looks them up.
inline constexpr std::array<OptionInfo, 8> kOptions = {{
    {kOptionTopMost, "TopMost", 0},
    {kOptionTransparent, "Transparent", 0},
    {kOptionWeapon, "Weapon", 1},
    {kOptionShield, "Shield", 1},
    {kOptionAmulet, "Amulet", 1},
    {kOptionMaru, "Maru", 1},
    {kOptionIn, "In", 0},
    {kOptionUtsuwa, "Utsuwa", 0},
}};

// Position of id in kOptions, or nothing for an id that is not an option.
std::optional<std::size_t> option_index(int32_t id) noexcept;

// Option states in kOptions order, as the settings file holds them.
using OptionStates = std::array<int32_t, kOptions.size()>;
OptionStates default_option_states() noexcept;

// 1 - state, computed without signed overflow.
int32_t toggled_state(int32_t state) noexcept;

class OptionTable {
  public:
    OptionTable() noexcept;
    OptionTable(const OptionTable&) = delete;
    OptionTable& operator=(const OptionTable&) = delete;

    // State of an option id; 0 for an id that is not an option.
    int32_t get(int32_t id) const noexcept;
    bool is_on(int32_t id) const noexcept { return get(id) == 1; }
    void set(int32_t id, int32_t state) noexcept;
    // Sets state = 1 - state atomically and returns the new state.
    int32_t toggle(int32_t id) noexcept;

    void load(const OptionStates& states) noexcept;
    OptionStates states() const noexcept;

  private:
    std::array<std::atomic<int32_t>, kOptions.size()> states_;
};

}  // namespace quilla

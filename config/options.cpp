// The option table's atomic states: lookup by id, get, set, toggle, load and the defaults.
#include "config/options.h"

namespace quilla {

std::optional<std::size_t> option_index(int32_t id) noexcept {
    for (std::size_t i = 0; i < kOptions.size(); ++i) {
        if (kOptions[i].id == id) {
            return i;
        }
    }
    return std::nullopt;
}

OptionStates default_option_states() noexcept {
    OptionStates states{};
    for (std::size_t i = 0; i < kOptions.size(); ++i) {
        states[i] = kOptions[i].default_state;
    }
    return states;
}

int32_t toggled_state(int32_t state) noexcept {
    // Two's-complement arithmetic: a state at the int32 limits wraps around instead of
    // overflowing (only 1 counts as on, so no such state is on before or after).
    return static_cast<int32_t>(1u - static_cast<uint32_t>(state));
}

OptionTable::OptionTable() noexcept {
    load(default_option_states());
}

int32_t OptionTable::get(int32_t id) const noexcept {
    auto i = option_index(id);
    return i ? states_[*i].load(std::memory_order_relaxed) : 0;
}

void OptionTable::set(int32_t id, int32_t state) noexcept {
    if (auto i = option_index(id)) {
        states_[*i].store(state, std::memory_order_relaxed);
    }
}

int32_t OptionTable::toggle(int32_t id) noexcept {
    auto i = option_index(id);
    if (!i) {
        return 0;
    }
    auto& state = states_[*i];
    int32_t old = state.load(std::memory_order_relaxed);
    while (!state.compare_exchange_weak(old, toggled_state(old), std::memory_order_relaxed)) {
    }
    return toggled_state(old);
}

void OptionTable::load(const OptionStates& states) noexcept {
    for (std::size_t i = 0; i < kOptions.size(); ++i) {
        states_[i].store(states[i], std::memory_order_relaxed);
    }
}

OptionStates OptionTable::states() const noexcept {
    OptionStates out{};
    for (std::size_t i = 0; i < kOptions.size(); ++i) {
        out[i] = states_[i].load(std::memory_order_relaxed);
    }
    return out;
}

}  // namespace quilla
